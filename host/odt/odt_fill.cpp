// odt_fill.cpp: the template filler (see odt_fill.h for the placeholder rules).
#include "host/odt/odt_fill.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string_view>

#include "host/odt/odf_text.h"

namespace odt {

namespace {

constexpr char kPlaceholder[] = "text:placeholder";
constexpr char kSectionPrefix[] = "when:";
constexpr double kPictureWidthCm = 15.0;

bool IsImagePlaceholder(pugi::xml_node p) {
  return std::strcmp(p.attribute("text:placeholder-type").value(), "image") == 0;
}

// The data name of a placeholder: its description, else its shown text without "<" ">".
std::string PlaceholderName(pugi::xml_node p) {
  std::string name = p.attribute("text:description").value();
  if (!name.empty()) return name;
  name = p.text().get();
  if (name.size() >= 2 && name.front() == '<' && name.back() == '>') name = name.substr(1, name.size() - 2);
  return name;
}

void CollectDescendants(pugi::xml_node node, const char* name, std::vector<pugi::xml_node>& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (std::strcmp(child.name(), name) == 0) out.push_back(child);
    CollectDescendants(child, name, out);
  }
}

std::vector<pugi::xml_node> Descendants(pugi::xml_node node, const char* name) {
  std::vector<pugi::xml_node> out;
  CollectDescendants(node, name, out);
  return out;
}

// Replaces a placeholder by `text`, written so that ODF shows it as it stands.
void ReplaceByText(pugi::xml_node placeholder, const char* text) {
  pugi::xml_node parent = placeholder.parent();
  InsertOdfText(parent, placeholder, text);
  parent.remove_child(placeholder);
}

// Drops every "when:NAME" section whose NAME the data lacks; kept sections are searched
// for nested ones.
void PruneSections(pugi::xml_node node, pugi::xml_node root) {
  for (pugi::xml_node child = node.first_child(); child;) {
    pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_element) {
      const std::string_view name = child.attribute("text:name").value();
      const bool conditional = std::strcmp(child.name(), "text:section") == 0 && name.starts_with(kSectionPrefix);
      if (conditional && !root.child(std::string(name.substr(std::strlen(kSectionPrefix))).c_str()))
        node.remove_child(child);
      else
        PruneSections(child, root);
    }
    child = next;
  }
}

struct TemplateRow {
  pugi::xml_node row;
  std::set<std::string> names;
};

// Rows of `parent` (direct, or inside table:table-rows) that hold placeholders: of a
// table, its body rows (header rows sit in table:table-header-rows); of that element, the
// header rows.
std::vector<TemplateRow> TemplateRows(pugi::xml_node parent) {
  std::vector<TemplateRow> rows;
  auto consider = [&](pugi::xml_node row) {
    TemplateRow t{row, {}};
    for (pugi::xml_node p : Descendants(row, kPlaceholder)) t.names.insert(PlaceholderName(p));
    if (!t.names.empty()) rows.push_back(std::move(t));
  };
  for (pugi::xml_node child : parent.children()) {
    if (std::strcmp(child.name(), "table:table-row") == 0) consider(child);
    if (std::strcmp(child.name(), "table:table-rows") == 0)
      for (pugi::xml_node row : child.children("table:table-row")) consider(row);
  }
  return rows;
}

// The placeholders of `table`'s header rows that name a field of some of `data`'s rows, as
// one template row (a null row when there are none): the heading of a group table. Other
// placeholders there name items of the whole document, as everywhere.
TemplateRow HeadingTemplate(pugi::xml_node table, pugi::xml_node data) {
  TemplateRow heading{pugi::xml_node(), {}};
  pugi::xml_node header = table.child("table:table-header-rows");
  for (const TemplateRow& t : TemplateRows(header))
    for (const std::string& name : t.names)
      for (pugi::xml_node row : data.children("row"))
        if (row.child(name.c_str())) heading.names.insert(name);
  if (!heading.names.empty()) heading.row = header;
  return heading;
}

// The template row covering most of the data row's fields, then leaving fewest unused.
const TemplateRow& ChooseTemplate(const std::vector<TemplateRow>& templates, pugi::xml_node dataRow) {
  const TemplateRow* best = &templates.front();
  std::size_t bestCovered = 0, bestUnused = 0;
  bool first = true;
  for (const TemplateRow& t : templates) {
    std::size_t covered = 0;
    for (pugi::xml_node field : dataRow.children())
      if (field.type() == pugi::node_element) covered += t.names.count(field.name());
    const std::size_t unused = t.names.size() - std::min(covered, t.names.size());
    if (first || covered > bestCovered || (covered == bestCovered && unused < bestUnused)) {
      best = &t;
      bestCovered = covered;
      bestUnused = unused;
      first = false;
    }
  }
  return *best;
}

// Every placeholder under `node` takes the text of `data`'s child of its name (empty when
// `data` is null or lacks it); with `only`, just the placeholders it names.
void FillPlaceholders(pugi::xml_node node, pugi::xml_node data, const std::set<std::string>* only = nullptr) {
  for (pugi::xml_node p : Descendants(node, kPlaceholder)) {
    const std::string name = PlaceholderName(p);
    if (!only || only->count(name)) ReplaceByText(p, data.child(name.c_str()).text().get());
  }
}

// Repeats the table's template rows, the best fitting one per data row, and drops them.
void FillRows(pugi::xml_node table, const std::vector<pugi::xml_node>& dataRows) {
  const std::vector<TemplateRow> templates = TemplateRows(table);
  if (templates.empty()) return;
  pugi::xml_node anchor = templates.front().row;
  for (pugi::xml_node dataRow : dataRows) {
    const TemplateRow& t = ChooseTemplate(templates, dataRow);
    FillPlaceholders(anchor.parent().insert_copy_before(t.row, anchor), dataRow);
  }
  for (const TemplateRow& t : templates) t.row.parent().remove_child(t.row);
}

std::vector<pugi::xml_node> DataRows(pugi::xml_node data) {
  std::vector<pugi::xml_node> rows;
  for (pugi::xml_node r : data.children("row")) rows.push_back(r);
  return rows;
}

// A group table (header placeholders naming fields of its rows) is made once per group: a
// row that fits the header rows better than any body row opens a group and fills the
// copy's header rows, the rows after it up to the next such row fill the copy's body.
// Rows before the first heading form a group with empty header fields. Copies are named
// NAME_1, NAME_2, … and follow each other where the table stood. As
// every copy repeats its header rows on the pages it continues to, and an office program
// never leaves header rows without a body row at a page's end, a group's heading always
// stands with (at least the first of) its rows.
void FillGroupTable(pugi::xml_node table, pugi::xml_node data, const TemplateRow& heading) {
  std::vector<TemplateRow> candidates = TemplateRows(table);
  candidates.push_back(heading);
  struct Group {
    pugi::xml_node heading;
    std::vector<pugi::xml_node> rows;
  };
  std::vector<Group> groups;
  for (pugi::xml_node dataRow : DataRows(data)) {
    if (ChooseTemplate(candidates, dataRow).row == heading.row)
      groups.push_back({dataRow, {}});
    else if (groups.empty())
      groups.push_back({pugi::xml_node(), {dataRow}});
    else
      groups.back().rows.push_back(dataRow);
  }
  const std::string name = table.attribute("table:name").value();
  for (std::size_t k = 0; k < groups.size(); ++k) {
    pugi::xml_node copy = table.parent().insert_copy_before(table, table);
    copy.attribute("table:name").set_value((name + "_" + std::to_string(k + 1)).c_str());
    FillPlaceholders(copy.child("table:table-header-rows"), groups[k].heading, &heading.names);
    FillRows(copy, groups[k].rows);
  }
  table.parent().remove_child(table);
}

// Tables named like a data item get its rows; the template rows of the others go.
void FillTables(pugi::xml_node content, pugi::xml_node root) {
  for (pugi::xml_node table : Descendants(content, "table:table")) {
    const char* name = table.attribute("table:name").value();
    pugi::xml_node data = *name ? root.child(name) : pugi::xml_node();
    const TemplateRow heading = HeadingTemplate(table, data);
    if (heading.row) {
      FillGroupTable(table, data, heading);
    } else if (data) {
      FillRows(table, DataRows(data));
    } else {
      for (const TemplateRow& t : TemplateRows(table)) t.row.parent().remove_child(t.row);
    }
  }
}

bool ReadFile(const std::string& path, std::string& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  data = buffer.str();
  return !in.bad();
}

// Width and height of a PNG file's image, from its header; false for anything else.
bool PngSize(const std::string& data, std::uint32_t& width, std::uint32_t& height) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data.size() < 24 || std::memcmp(data.data(), kSignature, 8) != 0 || data.compare(12, 4, "IHDR") != 0)
    return false;
  auto be32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(data[at + i]);
    return v;
  };
  width = be32(16);
  height = be32(20);
  return width > 0 && height > 0;
}

std::string PackageName(const std::string& sourcePath, std::size_t number) {
  std::string base = sourcePath.substr(sourcePath.find_last_of('/') + 1);
  bool safe = !base.empty() && base.size() < 100;
  for (char c : base) safe = safe && (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-');
  if (!safe || base.front() == '.') base = "picture.png";
  return "Pictures/" + std::to_string(number) + "_" + base;
}

std::string Centimetres(double cm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3fcm", cm);  // the C locale's point: ODF lengths
  return text;
}

void PlaceFrame(pugi::xml_node placeholder, const std::string& name, const EmbeddedPicture& picture,
                std::uint32_t width, std::uint32_t height) {
  pugi::xml_node parent = placeholder.parent();
  pugi::xml_node frame = parent.insert_child_before("draw:frame", placeholder);
  frame.append_attribute("draw:style-name") = "frGraph";
  frame.append_attribute("draw:name") = name.c_str();
  frame.append_attribute("text:anchor-type") = "as-char";
  frame.append_attribute("svg:width") = Centimetres(kPictureWidthCm).c_str();
  frame.append_attribute("svg:height") = Centimetres(kPictureWidthCm * height / width).c_str();
  frame.append_attribute("draw:z-index") = 0;
  pugi::xml_node image = frame.append_child("draw:image");
  image.append_attribute("xlink:href") = picture.packagePath.c_str();
  image.append_attribute("xlink:type") = "simple";
  image.append_attribute("xlink:show") = "embed";
  image.append_attribute("xlink:actuate") = "onLoad";
  parent.remove_child(placeholder);
}

pugi::xml_node EnclosingParagraph(pugi::xml_node node) {
  for (pugi::xml_node n = node.parent(); n; n = n.parent())
    if (std::strcmp(n.name(), "text:p") == 0 || std::strcmp(n.name(), "text:h") == 0) return n;
  return node;
}

void FillPictures(pugi::xml_node content, pugi::xml_node root, FillResult& result) {
  for (pugi::xml_node p : Descendants(content, kPlaceholder)) {
    if (!IsImagePlaceholder(p)) continue;
    const std::string name = PlaceholderName(p);
    const std::string path = root.child(name.c_str()).text().get();
    if (path.empty()) {
      pugi::xml_node paragraph = EnclosingParagraph(p);
      paragraph.parent().remove_child(paragraph);
      continue;
    }
    EmbeddedPicture picture{PackageName(path, result.pictures.size() + 1), "image/png", {}};
    std::uint32_t width = 0, height = 0;
    if (!ReadFile(path, picture.data) || !PngSize(picture.data, width, height)) {
      result.ok = false;
      result.error = "the picture " + path + " (" + name + ") cannot be read as a PNG file";
      return;
    }
    PlaceFrame(p, name, picture, width, height);
    result.pictures.push_back(std::move(picture));
  }
}

void SetChildText(pugi::xml_node parent, const char* name, const char* text) {
  pugi::xml_node child = parent.child(name);
  if (!child) child = parent.append_child(name);
  child.text().set(text);
}

}  // namespace

bool IsReportData(pugi::xml_node root, std::string& why) {
  if (!root || root.type() != pugi::node_element || std::strcmp(root.name(), "root") != 0) {
    why = "the data document has no \"root\" element";
    return false;
  }
  for (const char* needed : {"DateCreated", "table1"}) {
    if (!root.child(needed)) {
      why = std::string("the data document lacks \"") + needed + "\"";
      return false;
    }
  }
  return true;
}

FillResult FillContent(pugi::xml_document& content, pugi::xml_node root) {
  FillResult result;
  PruneSections(content, root);
  FillTables(content, root);
  FillPictures(content, root, result);
  if (!result.ok) return result;
  for (pugi::xml_node p : Descendants(content, kPlaceholder))
    ReplaceByText(p, root.child(PlaceholderName(p).c_str()).text().get());
  return result;
}

void AddToManifest(pugi::xml_document& manifest, const std::vector<EmbeddedPicture>& pictures) {
  pugi::xml_node list = manifest.child("manifest:manifest");
  for (const EmbeddedPicture& picture : pictures) {
    pugi::xml_node entry = list.append_child("manifest:file-entry");
    entry.append_attribute("manifest:full-path") = picture.packagePath.c_str();
    entry.append_attribute("manifest:media-type") = picture.mediaType.c_str();
  }
}

void StampMeta(pugi::xml_document& meta, std::time_t now) {
  pugi::xml_node fields = meta.child("office:document-meta").child("office:meta");
  if (!fields) return;
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
  SetChildText(fields, "meta:creation-date", stamp);
  SetChildText(fields, "dc:date", stamp);
  SetChildText(fields, "meta:generator", "lortan");
}

}  // namespace odt
