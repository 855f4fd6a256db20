// csv_reader.cpp: decoding and splitting of the import's CSV files. One pass over the
// bytes to validate UTF-8, one to decode, one to split; no backtracking.
#include "cli/csv_reader.h"

#include <array>

namespace {

// Windows-1251 bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    int n = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b & 0xE0) == 0xC0) n = 1, cp = b & 0x1F, min = 0x80;
    else if ((b & 0xF0) == 0xE0) n = 2, cp = b & 0x0F, min = 0x800;
    else if ((b & 0xF8) == 0xF0) n = 3, cp = b & 0x07, min = 0x10000;
    else return false;
    if (end - p <= n) return false;
    for (int i = 1; i <= n; ++i) {
      if (!IsContinuation(p[i])) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += n + 1;
  }
  return true;
}

sys::Text FromWindows1251(std::string_view bytes) {
  sys::Text out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) out += static_cast<char16_t>(b);
    else if (b < 0xC0) out += kCp1251High[b - 0x80];
    else out += static_cast<char16_t>(0x0410 + (b - 0xC0));
  }
  return out;
}

sys::Text DecodeCsvBytes(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return sys::FromUtf8(bytes.substr(3));
  if (IsValidUtf8(bytes)) return sys::FromUtf8(bytes);
  return FromWindows1251(bytes);
}

char16_t DetectDelimiter(sys::TextView text) {
  std::size_t tabs = 0, semicolons = 0, commas = 0;
  bool quoted = false;
  for (char16_t c : text) {
    if (c == u'"') quoted = !quoted;  // a doubled quote toggles twice: no change
    else if (quoted) continue;
    else if (c == u'\n' || c == u'\r') break;
    else if (c == u'\t') ++tabs;
    else if (c == u';') ++semicolons;
    else if (c == u',') ++commas;
  }
  if (tabs == 0 && semicolons == 0 && commas == 0) return u',';
  if (tabs >= semicolons && tabs >= commas) return u'\t';
  if (semicolons >= commas) return u';';
  return u',';
}

namespace {

bool AllEmpty(const std::vector<sys::Text>& fields) {
  for (const auto& f : fields)
    if (!f.empty()) return false;
  return true;
}

}  // namespace

namespace {

// The position of the split in the text and the line it is on.
struct Cursor {
  sys::TextView text;
  std::size_t i = 0;
  std::int32_t line = 1;

  bool AtEnd() const { return i >= text.size(); }
  // Consumes a line break at the position (LF, CR LF or CR) and counts it; false when
  // there is none.
  bool LineBreak() {
    if (AtEnd() || (text[i] != u'\n' && text[i] != u'\r')) return false;
    if (text[i++] == u'\r' && !AtEnd() && text[i] == u'\n') ++i;
    ++line;
    return true;
  }
};

// Reads a quoted field whose opening quote is at the cursor into `field`, up to the quote
// that is not doubled, and any text after it up to the next delimiter or line break
// (kept, and reported). False when the file ends inside the quotes.
bool QuotedField(Cursor& c, char16_t delimiter, sys::Text& field, std::vector<CsvProblem>& problems) {
  const std::int32_t opened = c.line;
  ++c.i;
  for (;;) {
    if (c.AtEnd()) {
      problems.push_back({opened, {}, "a quoted field is not closed before the end of the file", {}, false});
      return false;
    }
    const std::size_t from = c.i;
    if (c.LineBreak()) {
      field.append(c.text.substr(from, c.i - from));
    } else if (c.text[c.i] != u'"') {
      field += c.text[c.i++];
    } else if (c.i + 1 < c.text.size() && c.text[c.i + 1] == u'"') {
      field += u'"';
      c.i += 2;
    } else {
      ++c.i;
      break;
    }
  }
  std::size_t stop = c.i;
  while (stop < c.text.size() && c.text[stop] != delimiter && c.text[stop] != u'\r' && c.text[stop] != u'\n') ++stop;
  if (stop > c.i) {
    const sys::TextView rest = c.text.substr(c.i, stop - c.i);
    problems.push_back({c.line, {}, "text after the closing quote of a field", sys::Text(rest), true});
    field.append(rest);
    c.i = stop;
  }
  return true;
}

}  // namespace

CsvTable ParseCsv(sys::TextView text, std::vector<CsvProblem>& problems) {
  CsvTable table;
  table.delimiter = DetectDelimiter(text);
  Cursor c{text};
  CsvRecord record{c.line, {}};
  sys::Text field;
  auto endRecord = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
    if (!AllEmpty(record.fields)) table.records.push_back(std::move(record));
    record = CsvRecord{c.line, {}};
  };
  while (!c.AtEnd()) {
    if (field.empty() && text[c.i] == u'"') {
      // A record cut off by an open quote is left out rather than read half.
      if (!QuotedField(c, table.delimiter, field, problems)) return table;
    } else if (text[c.i] == table.delimiter) {
      record.fields.push_back(std::move(field));
      field.clear();
      ++c.i;
    } else if (c.LineBreak()) {
      endRecord();
    } else {
      field += text[c.i++];
    }
  }
  endRecord();
  return table;
}
