// lortan_file_xml.h: the XML part of a chromatogram file (passport and peak tables).
//
// Reading follows the host's lenient rules: names compare exactly, absent elements or
// attributes give defaults, unknown passport elements are kept as extra fields, channel
// elements that match no binary channel are ignored. Writing produces the element order
// the host writes. Text is UTF-8 in the document and UTF-16 in the records; doubles use
// the runtime decimal separator. Costs are linear in the size of the document.
#pragma once

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "data/lortan_file.h"

namespace lortan_file {

// Fills passport and the peaks of channels from a parsed document. Empties the passport's
// columns and extras; scalars the document lacks keep their values. Channels are matched
// by number to the first channel of that number; the others' peaks are left alone.
void ReadDocument(const pugi::xml_document& document, FilePassport& passport,
                  std::vector<FileChannel>& channels);

// Builds the whole document (declaration, root, passport, channels) for a save. A channel
// appears under the low byte of its number, the number its chunk carries; a channel that
// repeats an earlier channel's number gets no element (a load could not give its peaks
// back, and an empty table would wipe the first one's).
void BuildDocument(const FilePassport& passport, const std::vector<FileChannel>& channels,
                   pugi::xml_document& document);

}  // namespace lortan_file
