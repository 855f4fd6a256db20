// text.h: the text type of the system and conversion to and from UTF-8.
//
// Text inside Vetrix is UTF-16 (std::u16string, u"..." literals), the form SQLite's
// 16-bit interfaces take as is. UTF-8 appears only at the edges: XML, workbook cells,
// file names, the terminal. Conversions are linear in the input and allocate once.
#pragma once

#include <string>
#include <string_view>

namespace sys {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD (EF BF BD).
std::string ToUtf8(TextView text);

// UTF-8 to UTF-16. Malformed or overlong sequences, encoded surrogates and code points
// above U+10FFFF become U+FFFD, one per offending byte run; nothing is dropped silently.
Text FromUtf8(std::string_view utf8);

// Number of characters (code points) in UTF-16 text: a surrogate pair counts once.
std::size_t CharCount(TextView text);

// Lengths of NUL-terminated UTF-16 strings (null counts as empty).
std::size_t Length(const char16_t* text);

}  // namespace sys
