// text_table.h: rows of cells laid out as plain aligned text for a terminal.
//
// Column widths are measured in characters (code points), not bytes, so Cyrillic text
// aligns. Cells are left-aligned and separated by two blanks; trailing blanks are cut.
#pragma once

#include <vector>

#include "platform/sys/text.h"

namespace sys {

// `header` first (when not empty), then a rule of '-' under it, then `rows`. Every line
// ends with '\n'. Rows may have fewer cells than the header.
Text LayOutTable(const std::vector<Text>& header, const std::vector<std::vector<Text>>& rows);

// "\r\n" becomes "\n": the line breaks of the window texts, for a terminal.
Text ToTerminalLines(TextView text);

}  // namespace sys

namespace sys {

// What the headless check and the batch host print for a run: the results table laid
// out, a blank line, then the messages text with terminal line breaks (ending in '\n').
Text CheckOutputText(const std::vector<Text>& header, const std::vector<std::vector<Text>>& rows,
                     TextView messages);

}  // namespace sys
