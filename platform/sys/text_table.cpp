// text_table.cpp: plain-text table layout.
#include "platform/sys/text_table.h"

#include <algorithm>

namespace sys {
namespace {

void AppendLine(Text& out, const std::vector<Text>& cells, const std::vector<std::size_t>& widths) {
  Text line;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    line += cells[c];
    if (c + 1 < cells.size()) line.append(widths[c] - CharCount(cells[c]) + 2, u' ');
  }
  while (!line.empty() && line.back() == u' ') line.pop_back();
  out += line;
  out += u'\n';
}

}  // namespace

Text LayOutTable(const std::vector<Text>& header, const std::vector<std::vector<Text>>& rows) {
  std::size_t columns = header.size();
  for (const auto& r : rows) columns = std::max(columns, r.size());
  std::vector<std::size_t> widths(columns, 0);
  auto measure = [&](const std::vector<Text>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) widths[c] = std::max(widths[c], CharCount(cells[c]));
  };
  measure(header);
  for (const auto& r : rows) measure(r);
  Text out;
  if (!header.empty()) {
    AppendLine(out, header, widths);
    std::size_t total = 0;
    for (std::size_t c = 0; c < columns; ++c) total += widths[c] + (c + 1 < columns ? 2 : 0);
    out.append(total, u'-');
    out += u'\n';
  }
  for (const auto& r : rows) AppendLine(out, r, widths);
  return out;
}

Text ToTerminalLines(TextView text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace sys

namespace sys {

Text CheckOutputText(const std::vector<Text>& header, const std::vector<std::vector<Text>>& rows,
                     TextView messages) {
  Text out = LayOutTable(header, rows);
  out += u'\n';
  out += ToTerminalLines(messages);
  if (out.back() != u'\n') out += u'\n';
  return out;
}

}  // namespace sys
