// odt_fill.h: filling an ODT template's content document from a report data document.
//
// The template marks where data goes with ODF placeholders (text:placeholder), each named
// by its text:description:
//  - a text:section named "when:NAME" stays only when the data's root has a child NAME;
//  - a table named NAME (table:name) repeats its template rows (the body rows holding
//    placeholders) once per "row" child of the data's NAME element; each placeholder of
//    the copy takes the text of the row's child of its name. Of several template rows the
//    one that has a placeholder for every child of the data row and the fewest left over is
//    used, so a table can carry a separate look for rows such as channel headings;
//  - a table whose header rows hold placeholders naming fields of its data rows is a group
//    table: a data row that fits those better than any body row starts a copy (NAME_1,
//    NAME_2, …) whose header rows it fills, and the rows after it fill that copy's body.
//    The header rows repeat on every page a copy continues to and are never left at a
//    page's end without a body row, so a group's heading stays with its rows;
//  - an image placeholder (text:placeholder-type="image") NAME becomes a frame showing the
//    PNG picture whose path is the text of the root's child NAME, embedded in the package;
//    without such a child the paragraph holding the placeholder goes;
//  - every other text placeholder takes the text of the root's child of its name (empty
//    when there is none).
// Texts are UTF-8 (the data document is pugixml's narrow build). Assumes the template uses
// the usual ODF prefixes (text:, table:, draw:, svg:, xlink:, manifest:, meta:, dc:).
// Costs: a few passes over the content document; each picture is read whole into memory.
#pragma once

#include <ctime>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace odt {

struct EmbeddedPicture {
  std::string packagePath;  // "Pictures/…"
  std::string mediaType;    // "image/png"
  std::string data;
};

struct FillResult {
  bool ok = true;
  std::string error;  // why the data could not be used, when !ok
  std::vector<EmbeddedPicture> pictures;
};

// True when `root` is a report data document this filler can use: an element "root"
// holding "DateCreated" and "table1". Otherwise false with the reason in `why`.
bool IsReportData(pugi::xml_node root, std::string& why);

// Fills `content` (the template's content.xml, already parsed) from the data under `root`,
// following the rules above. Fails (ok false) when a picture named by the data cannot be
// read or is not a PNG file; `content` is then partly filled and must be discarded.
FillResult FillContent(pugi::xml_document& content, pugi::xml_node root);

// Lists every picture in the package manifest (META-INF/manifest.xml, parsed).
void AddToManifest(pugi::xml_document& manifest, const std::vector<EmbeddedPicture>& pictures);

// Dates the document's metadata (meta.xml, parsed): creation date and date of `now` in
// local time, and the generator.
void StampMeta(pugi::xml_document& meta, std::time_t now);

}  // namespace odt
