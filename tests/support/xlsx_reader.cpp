// xlsx_reader.cpp: the workbook, its relationships, shared strings and sheets.
#include "tests/support/xlsx_reader.h"

#include <zip.h>

#include <pugixml.hpp>

namespace {

bool ReadEntry(zip_t* z, const std::string& name, std::string& out) {
  zip_stat_t st;
  if (zip_stat(z, name.c_str(), 0, &st) != 0) return false;
  zip_file_t* f = zip_fopen(z, name.c_str(), 0);
  if (!f) return false;
  out.resize(st.size);
  const zip_int64_t n = zip_fread(f, out.data(), st.size);
  zip_fclose(f);
  return n == static_cast<zip_int64_t>(st.size);
}

std::string AllText(pugi::xml_node si) {
  std::string text;
  for (auto t : si.select_nodes(".//t")) text += t.node().text().get();
  return text;
}

}  // namespace

XlsxBook ReadXlsx(const std::string& path) {
  XlsxBook book;
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!z) {
    book.error = "cannot open " + path;
    return book;
  }
  std::string workbook, rels, shared;
  ReadEntry(z, "xl/sharedStrings.xml", shared);
  if (!ReadEntry(z, "xl/workbook.xml", workbook) || !ReadEntry(z, "xl/_rels/workbook.xml.rels", rels)) {
    book.error = "no workbook part";
    zip_close(z);
    return book;
  }
  pugi::xml_document wb, rl, ss;
  wb.load_string(workbook.c_str());
  rl.load_string(rels.c_str());
  ss.load_string(shared.c_str());
  std::vector<std::string> strings;
  for (auto si : ss.child("sst").children("si")) strings.push_back(AllText(si));
  std::map<std::string, std::string> targets;
  for (auto r : rl.child("Relationships").children("Relationship"))
    targets[r.attribute("Id").value()] = r.attribute("Target").value();
  for (auto s : wb.child("workbook").child("sheets").children("sheet")) {
    XlsxSheet sheet;
    sheet.name = s.attribute("name").value();
    std::string xml;
    if (!ReadEntry(z, "xl/" + targets[s.attribute("r:id").value()], xml)) continue;
    pugi::xml_document doc;
    doc.load_string(xml.c_str());
    auto ws = doc.child("worksheet");
    for (auto col : ws.child("cols").children("col"))
      for (int c = col.attribute("min").as_int(); c <= col.attribute("max").as_int(); ++c)
        sheet.widths[c] = col.attribute("width").as_double();
    for (auto row : ws.child("sheetData").children("row"))
      for (auto c : row.children("c")) {
        const std::string type = c.attribute("t").value();
        std::string text = type == "s"           ? strings.at(c.child("v").text().as_uint())
                           : type == "inlineStr" ? AllText(c.child("is"))
                                                 : c.child("v").text().get();
        sheet.cells[c.attribute("r").value()] = text;
      }
    book.sheets.push_back(std::move(sheet));
  }
  zip_close(z);
  book.ok = true;
  return book;
}
