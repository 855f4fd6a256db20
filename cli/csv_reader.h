// csv_reader.h: the CSV files a laboratory brings for the import, read into rows of text.
//
// The bytes are UTF-8 (a byte-order mark is skipped) or, when they are not valid UTF-8,
// Windows-1251, which spreadsheet programs in Russian write. The delimiter (',', ';' or
// tab) is the one the header line uses most outside quotes; quoting follows RFC 4180
// (a quoted field may hold delimiters, doubled quotes and line breaks). Lines end with
// LF, CR LF or a lone CR. Rows whose fields are all empty (blank lines, ";;;;" lines of a
// spreadsheet) are dropped. Costs: one pass, the decoded text plus the fields once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/text.h"

// One problem found in an input file; line counts from 1, 0 when the file as a whole is
// meant; column is the header text of the column involved (empty: none); found is the
// text found there (empty: nothing to show).
struct CsvProblem {
  std::int32_t line = 0;
  sys::Text column;
  std::string what;  // UTF-8, e.g. "not a number"
  sys::Text found;
  bool showFound = false;
};

struct CsvRecord {
  std::int32_t line = 0;  // the line the record starts on
  std::vector<sys::Text> fields;
};

struct CsvTable {
  char16_t delimiter = u',';
  std::vector<CsvRecord> records;  // the header row first, when the file has one
};

// The text of a file's bytes: UTF-8 without its byte-order mark, or Windows-1251 when
// the bytes are not valid UTF-8. Never fails.
sys::Text DecodeCsvBytes(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Windows-1251 to UTF-16; the one unassigned byte 0x98 becomes U+FFFD.
sys::Text FromWindows1251(std::string_view bytes);

// The delimiter of a file: the one of ',', ';', tab that occurs most often outside
// quotes on its first line; ',' when none does. Ties prefer tab, then ';'.
char16_t DetectDelimiter(sys::TextView text);

// Splits decoded text into records. A quote left open, or text after a closing quote,
// is a problem of the line where it occurs; the records read are kept either way.
CsvTable ParseCsv(sys::TextView text, std::vector<CsvProblem>& problems);
