// odf_text.h: plain text placed into an ODF paragraph so that it shows as written.
//
// ODF collapses runs of white space and drops line breaks in character data; a value such
// as "01.02.2024  10:30" (two blanks) or a message with "\r\n" must become text:s,
// text:tab and text:line-break elements. Characters that XML 1.0 forbids are left out.
// Assumes the content document uses the prefix "text:" for the ODF text namespace.
// Costs: linear in the text.
#pragma once

#include <pugixml.hpp>
#include <string_view>

namespace odt {

// Inserts `utf8` into `parent` before `before` (appends when `before` is empty). Runs of
// blanks after the first (and a leading blank) become <text:s text:c="n"/>, '\t'
// <text:tab/>, "\n", "\r\n" and "\r" <text:line-break/>; other control characters are
// dropped.
void InsertOdfText(pugi::xml_node parent, pugi::xml_node before, std::string_view utf8);

}  // namespace odt
