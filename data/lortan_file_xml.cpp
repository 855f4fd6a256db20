// lortan_file_xml.cpp: reading and building the XML part of a chromatogram file.
//
// Every scalar is an empty element carrying its value in the attribute "value". Integers
// and booleans go through pugixml's own conversions (decimal or "0x" hex, clamped to the
// type; booleans true on a leading '1', 't', 'T', 'y', 'Y'); doubles are written as
// "%.17g" and read as wcstod would, both with the runtime decimal separator, so a value
// survives bit for bit when the locale is the same. Assumes the narrow (UTF-8) pugixml.
#include "data/lortan_file_xml.h"

#include <array>
#include <string_view>

#include "platform/sys/format.h"
#include "platform/sys/parse.h"

namespace lortan_file {

namespace {

constexpr int kDoubleDigits = 17;
constexpr int kNumberCount = 256;  // a chunk stores its channel number in one byte

// The "value" attribute of the first child element called name (null when absent).
pugi::xml_attribute ValueOf(pugi::xml_node parent, const char* name) {
  return parent.child(name).attribute("value");
}

sys::Text TextOf(pugi::xml_attribute value) { return sys::FromUtf8(value.value()); }

// wcstod rules: leading blanks, as far as the number goes, 0.0 for none or no attribute.
double DoubleOf(pugi::xml_attribute value) {
  return sys::ParseDouble(sys::FromUtf8(value.value()));
}

FileColumn ReadColumn(pugi::xml_node column) {
  FileColumn c;
  c.channel = ValueOf(column, "channel").as_int(0);
  c.name = TextOf(ValueOf(column, "name"));
  c.brand = TextOf(ValueOf(column, "brand"));
  c.type = ValueOf(column, "type").as_int(0);
  c.diameter = DoubleOf(ValueOf(column, "diameter"));
  c.length = DoubleOf(ValueOf(column, "length"));
  c.carrier = TextOf(ValueOf(column, "carrier"));
  c.phase = TextOf(ValueOf(column, "phase"));
  c.percent = DoubleOf(ValueOf(column, "percent"));
  c.unit = ValueOf(column, "unit").as_int(0);
  c.fraction0 = DoubleOf(ValueOf(column, "fraction0"));
  c.fraction1 = DoubleOf(ValueOf(column, "fraction1"));
  c.film = DoubleOf(ValueOf(column, "film"));
  c.part = TextOf(ValueOf(column, "part"));
  c.serial = TextOf(ValueOf(column, "serial"));
  return c;
}

// Any other passport child; a text node has no name and no attributes.
FileExtraField ReadExtra(pugi::xml_node node) {
  return {sys::FromUtf8(node.name()), TextOf(node.attribute("title")),
          TextOf(node.attribute("value"))};
}

// Dispatches one child of "passport" on its exact name; a repeated scalar overwrites.
void ReadPassportChild(pugi::xml_node node, FilePassport& p) {
  const std::string_view name = node.name();
  const pugi::xml_attribute value = node.attribute("value");
  if (name == "assayid") p.assayid = TextOf(value);
  else if (name == "series") p.series = TextOf(value);
  else if (name == "andate") p.andate = value.as_llong(0);
  else if (name == "duration") p.duration = DoubleOf(value);
  else if (name == "sample") p.sample = TextOf(value);
  else if (name == "method") p.method = TextOf(value);
  else if (name == "graduation") p.graduation = value.as_bool(false);
  else if (name == "date") p.date = value.as_llong(0);
  else if (name == "defect") p.defect = value.as_bool(false);
  else if (name == "mixture") p.mixture = TextOf(value);
  else if (name == "column") p.columns.push_back(ReadColumn(node));
  else p.extras.push_back(ReadExtra(node));
}

FilePeak ReadPeak(pugi::xml_node item) {
  FilePeak k;
  k.front = DoubleOf(ValueOf(item, "front"));
  k.back = DoubleOf(ValueOf(item, "back"));
  k.time = DoubleOf(ValueOf(item, "time"));
  k.area = DoubleOf(ValueOf(item, "area"));
  k.height = DoubleOf(ValueOf(item, "height"));
  k.concent = DoubleOf(ValueOf(item, "concent"));
  k.name = TextOf(ValueOf(item, "name"));
  k.reference = ValueOf(item, "reference").as_bool(false);
  k.left = ValueOf(item, "left").as_int(-1);
  k.right = ValueOf(item, "right").as_int(-1);
  k.flags = ValueOf(item, "flags").as_uint(0);
  k.front_base_height = DoubleOf(ValueOf(item, "front_base_height"));
  k.back_base_height = DoubleOf(ValueOf(item, "back_base_height"));
  k.index = DoubleOf(ValueOf(item, "index"));
  return k;
}

// Each "channel" element with a known, non-negative number replaces the peaks of the
// first channel of that number; a lookup table keeps this linear in the document.
void ReadChannels(pugi::xml_node channelsNode, std::vector<FileChannel>& channels) {
  std::array<FileChannel*, kNumberCount> firstOfNumber{};
  for (auto it = channels.rbegin(); it != channels.rend(); ++it) {
    if (it->number >= 0 && it->number < kNumberCount) firstOfNumber[it->number] = &*it;
  }
  for (pugi::xml_node element : channelsNode.children("channel")) {
    const pugi::xml_attribute number = ValueOf(element, "number");
    if (!number) continue;
    const int n = number.as_int();
    if (n < 0 || n >= kNumberCount || firstOfNumber[n] == nullptr) continue;
    std::vector<FilePeak>& peaks = firstOfNumber[n]->peaks;
    peaks.clear();
    for (pugi::xml_node item : element.child("table").children("item")) {
      peaks.push_back(ReadPeak(item));
    }
  }
}

void PutText(pugi::xml_node parent, const char* name, const sys::Text& value) {
  parent.append_child(name).append_attribute("value").set_value(sys::ToUtf8(value).c_str());
}
void PutInt(pugi::xml_node parent, const char* name, std::int32_t value) {
  parent.append_child(name).append_attribute("value").set_value(static_cast<int>(value));
}
void PutInt64(pugi::xml_node parent, const char* name, std::int64_t value) {
  parent.append_child(name).append_attribute("value").set_value(static_cast<long long>(value));
}
void PutUInt(pugi::xml_node parent, const char* name, std::uint32_t value) {
  parent.append_child(name).append_attribute("value").set_value(static_cast<unsigned>(value));
}
void PutBool(pugi::xml_node parent, const char* name, bool value) {
  parent.append_child(name).append_attribute("value").set_value(value);
}
void PutDouble(pugi::xml_node parent, const char* name, double value) {
  const std::string text = sys::ToUtf8(sys::Format(u"%.*g", kDoubleDigits, value));
  parent.append_child(name).append_attribute("value").set_value(text.c_str());
}

pugi::xml_node AddVersioned(pugi::xml_node parent, const char* name) {
  pugi::xml_node node = parent.append_child(name);
  node.append_attribute("version").set_value(1);
  return node;
}

void BuildColumn(pugi::xml_node passport, const FileColumn& c) {
  pugi::xml_node column = passport.append_child("column");
  PutInt(column, "channel", c.channel);
  PutText(column, "name", c.name);
  PutText(column, "brand", c.brand);
  PutInt(column, "type", c.type);
  PutDouble(column, "diameter", c.diameter);
  PutDouble(column, "length", c.length);
  PutText(column, "carrier", c.carrier);
  PutText(column, "phase", c.phase);
  PutDouble(column, "percent", c.percent);
  PutInt(column, "unit", c.unit);
  PutDouble(column, "fraction0", c.fraction0);
  PutDouble(column, "fraction1", c.fraction1);
  PutDouble(column, "film", c.film);
  PutText(column, "part", c.part);
  PutText(column, "serial", c.serial);
}

// An extra field without a name came from a text node: it has no element to become.
void BuildExtra(pugi::xml_node passport, const FileExtraField& extra) {
  if (extra.name.empty()) return;
  pugi::xml_node node = passport.append_child(sys::ToUtf8(extra.name).c_str());
  node.append_attribute("title").set_value(sys::ToUtf8(extra.title).c_str());
  node.append_attribute("value").set_value(sys::ToUtf8(extra.value).c_str());
}

void BuildPassport(pugi::xml_node root, const FilePassport& p) {
  pugi::xml_node passport = AddVersioned(root, "passport");
  PutText(passport, "assayid", p.assayid);
  PutText(passport, "series", p.series);
  PutInt64(passport, "andate", p.andate);
  PutDouble(passport, "duration", p.duration);
  PutText(passport, "sample", p.sample);
  PutText(passport, "method", p.method);
  PutBool(passport, "graduation", p.graduation);
  PutInt64(passport, "date", p.date);
  PutBool(passport, "defect", p.defect);
  PutText(passport, "mixture", p.mixture);
  for (const FileColumn& column : p.columns) BuildColumn(passport, column);
  for (const FileExtraField& extra : p.extras) BuildExtra(passport, extra);
}

void BuildPeak(pugi::xml_node table, const FilePeak& k) {
  pugi::xml_node item = table.append_child("item");
  PutDouble(item, "front", k.front);
  PutDouble(item, "back", k.back);
  PutDouble(item, "time", k.time);
  PutDouble(item, "area", k.area);
  PutDouble(item, "height", k.height);
  PutDouble(item, "concent", k.concent);
  PutText(item, "name", k.name);
  PutBool(item, "reference", k.reference);
  PutInt(item, "left", k.left);
  PutInt(item, "right", k.right);
  PutUInt(item, "flags", k.flags);
  PutDouble(item, "front_base_height", k.front_base_height);
  PutDouble(item, "back_base_height", k.back_base_height);
  PutDouble(item, "index", k.index);
}

// A load gives each number's peaks to the first channel of that number, and a later
// element of the same number would replace them; so only the first channel of each number
// gets an element, and a load reads back exactly what was written.
void BuildChannels(pugi::xml_node root, const std::vector<FileChannel>& channels) {
  pugi::xml_node list = AddVersioned(root, "channels");
  std::array<bool, kNumberCount> written{};
  for (const FileChannel& channel : channels) {
    const int number = channel.number & 0xFF;
    if (written[number]) continue;
    written[number] = true;
    pugi::xml_node element = list.append_child("channel");
    PutInt(element, "number", number);
    pugi::xml_node table = element.append_child("table");
    for (const FilePeak& peak : channel.peaks) BuildPeak(table, peak);
  }
}

}  // namespace

void ReadDocument(const pugi::xml_document& document, FilePassport& passport,
                  std::vector<FileChannel>& channels) {
  passport.columns.clear();
  passport.extras.clear();
  const pugi::xml_node root = document.child("root");
  for (pugi::xml_node node : root.child("passport").children()) {
    ReadPassportChild(node, passport);
  }
  ReadChannels(root.child("channels"), channels);
}

void BuildDocument(const FilePassport& passport, const std::vector<FileChannel>& channels,
                   pugi::xml_document& document) {
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("utf-8");
  pugi::xml_node root = AddVersioned(document, "root");
  BuildPassport(root, passport);
  BuildChannels(root, channels);
}

}  // namespace lortan_file
