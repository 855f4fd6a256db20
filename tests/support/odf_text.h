// odf_text.h: reading a filled ODF content document back in tests — the text a reader
// sees in a node, and the cells of a named table.
//
// Header only; needs pugixml. Assumes the usual ODF prefixes (text:, table:).
#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

// The visible text of an ODF node: character data, <text:s text:c="n"/> as n blanks, tabs
// and line breaks as '\t' and '\n'; paragraphs follow each other without a separator.
inline std::string OdfText(pugi::xml_node node) {
  std::string text;
  for (pugi::xml_node c : node.children()) {
    const std::string name = c.name();
    if (c.type() == pugi::node_pcdata) text += c.value();
    else if (name == "text:s") text += std::string(c.attribute("text:c").as_uint(1), ' ');
    else if (name == "text:tab") text += '\t';
    else if (name == "text:line-break") text += '\n';
    else text += OdfText(c);
  }
  return text;
}

// The table named `name` (table:name) anywhere in `content`; a null node when there is none.
inline pugi::xml_node OdfTable(const pugi::xml_document& content, const char* name) {
  const std::string path = std::string("//table:table[@table:name='") + name + "']";
  return content.select_node(path.c_str()).node();
}

// The texts of a row's cells (covered cells left out).
inline std::vector<std::string> OdfCells(pugi::xml_node row) {
  std::vector<std::string> cells;
  for (pugi::xml_node c : row.children("table:table-cell")) cells.push_back(OdfText(c));
  return cells;
}

// Every body row (outside the header rows) of the table named `name`, as its cells' texts.
inline std::vector<std::vector<std::string>> OdfBodyRows(const pugi::xml_document& content, const char* name) {
  std::vector<std::vector<std::string>> rows;
  for (pugi::xml_node r : OdfTable(content, name).children("table:table-row")) rows.push_back(OdfCells(r));
  return rows;
}
