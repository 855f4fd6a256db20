// xlsx_reader.h: reads an XLSX workbook back the way a spreadsheet program sees it —
// sheet names in order, cell texts by address, column widths — from the package's XML
// (libzip to open it, pugixml to read it). For tests.
#pragma once

#include <map>
#include <string>
#include <vector>

struct XlsxSheet {
  std::string name;
  std::map<std::string, std::string> cells;  // "B2" -> text (UTF-8)
  std::map<int, double> widths;              // column (1 = A) -> width as stored
  std::string text(const std::string& ref) const {
    auto it = cells.find(ref);
    return it == cells.end() ? std::string() : it->second;
  }
};

struct XlsxBook {
  bool ok = false;
  std::string error;
  std::vector<XlsxSheet> sheets;
  const XlsxSheet* sheet(const std::string& name) const {
    for (const auto& s : sheets)
      if (s.name == name) return &s;
    return nullptr;
  }
};

XlsxBook ReadXlsx(const std::string& path);
