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

CsvTable ParseCsv(sys::TextView text, std::vector<CsvProblem>& problems) {
  CsvTable table;
  table.delimiter = DetectDelimiter(text);
  const char16_t delimiter = table.delimiter;
  std::int32_t line = 1;
  CsvRecord record{line, {}};
  sys::Text field;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto endRecord = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
    if (!AllEmpty(record.fields)) table.records.push_back(std::move(record));
    record = CsvRecord{line, {}};
  };
  // Consumes a line break at i (LF, CR LF or CR) and counts it; false when none is there.
  auto lineBreak = [&]() -> bool {
    if (text[i] == u'\n') {
      ++i;
    } else if (text[i] == u'\r') {
      ++i;
      if (i < n && text[i] == u'\n') ++i;
    } else {
      return false;
    }
    ++line;
    return true;
  };
  while (i < n) {
    if (field.empty() && text[i] == u'"') {
      // A quoted field: up to the quote that is not doubled.
      const std::int32_t opened = line;
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == u'"') {
          if (i + 1 < n && text[i + 1] == u'"') {
            field += u'"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        if (text[i] == u'\r' || text[i] == u'\n') {
          const std::size_t from = i;
          lineBreak();
          field.append(text.substr(from, i - from));
          continue;
        }
        field += text[i++];
      }
      if (!closed) {
        // The record is cut off: it is left out rather than read half.
        problems.push_back({opened, {}, "a quoted field is not closed before the end of the file", {}, false});
        return table;
      }
      if (i < n && text[i] != delimiter && text[i] != u'\r' && text[i] != u'\n') {
        std::size_t stop = i;
        while (stop < n && text[stop] != delimiter && text[stop] != u'\r' && text[stop] != u'\n') ++stop;
        problems.push_back({line, {}, "text after the closing quote of a field", sys::Text(text.substr(i, stop - i)), true});
        field.append(text.substr(i, stop - i));
        i = stop;
      }
      continue;
    }
    const char16_t c = text[i];
    if (c == delimiter) {
      record.fields.push_back(std::move(field));
      field.clear();
      ++i;
    } else if (lineBreak()) {
      endRecord();
    } else {
      field += c;
      ++i;
    }
  }
  endRecord();
  return table;
}
