// import_tables.cpp: header mapping, field checks and grouping of the import's tables.
// Linear in the rows, except the check of certificate names against each other, which
// compares every pair of certificates (a laboratory has tens of them).
#include "cli/import_tables.h"

#include <map>
#include <set>
#include <span>

#include "cli/csv_fields.h"
#include "data/unicode_sql_text.h"

bool SameNameNoCase(sys::TextView a, sys::TextView b) {
  return unicode_sql::CompareNoCaseUtf16(a.data(), static_cast<int>(a.size() * 2), b.data(),
                                         static_cast<int>(b.size() * 2)) == 0;
}

namespace {

// Where each known column is in the file (-1: absent) and its header text there.
struct HeaderMap {
  std::vector<int> field;
  std::vector<sys::Text> title;
};

void Add(std::vector<CsvProblem>& problems, std::int32_t line, const sys::Text& column, std::string what,
         sys::TextView found = {}, bool show = true) {
  problems.push_back({line, column, std::move(what), sys::Text(found), show});
}

// Maps the header record; false when a required column is missing (rows cannot be read).
bool MapHeader(const CsvTable& table, std::span<const ImportColumn> columns, HeaderMap& map,
               std::vector<CsvProblem>& problems) {
  map.field.assign(columns.size(), -1);
  map.title.resize(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) map.title[c] = columns[c].english;
  const CsvRecord& header = table.records.front();
  for (std::size_t f = 0; f < header.fields.size(); ++f) {
    const sys::TextView name = TrimBlanks(header.fields[f]);
    int known = -1;
    for (std::size_t c = 0; c < columns.size() && !name.empty(); ++c)
      if (SameNameNoCase(name, columns[c].english) || SameNameNoCase(name, columns[c].russian)) known = static_cast<int>(c);
    if (known >= 0 && map.field[known] >= 0) {
      Add(problems, header.line, header.fields[f], "the column appears twice in the header", {}, false);
      continue;
    }
    if (known >= 0) {
      map.field[known] = static_cast<int>(f);
      map.title[known] = header.fields[f];
      continue;
    }
    // An unknown or unnamed column is harmless only while it stays empty.
    for (std::size_t r = 1; r < table.records.size(); ++r) {
      const CsvRecord& row = table.records[r];
      if (f < row.fields.size() && !TrimBlanks(row.fields[f]).empty()) {
        Add(problems, row.line, header.fields[f],
            name.empty() ? "a field under a header without a name" : "a value in a column this table does not have",
            row.fields[f]);
        break;
      }
    }
  }
  bool complete = true;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].required && map.field[c] < 0) {
      Add(problems, header.line, columns[c].english,
          "the header lacks this required column (also accepted: \"" + sys::ToUtf8(columns[c].russian) + "\")", {},
          false);
      complete = false;
    }
  }
  return complete;
}

sys::TextView Field(const CsvRecord& row, const HeaderMap& map, int column) {
  const int f = map.field[column];
  if (f < 0 || static_cast<std::size_t>(f) >= row.fields.size()) return {};
  return row.fields[f];
}

bool IsEmpty(sys::TextView text) { return TrimBlanks(text).empty(); }

// Fields beyond the header that hold something.
void CheckWidth(const CsvRecord& header, const CsvRecord& row, std::vector<CsvProblem>& problems) {
  for (std::size_t f = header.fields.size(); f < row.fields.size(); ++f) {
    if (!IsEmpty(row.fields[f])) {
      Add(problems, row.line, {}, "the row has more fields than the header", row.fields[f]);
      return;
    }
  }
}

// Typed readers of one field: nullopt and a problem when the text is not empty and not
// of the type; `present` tells whether the field held anything.
// Dates already read, by text: the rows of an analysis repeat its date, and converting
// local time asks the C library to check the zone file each time.
using DateCache = std::map<std::pair<sys::Text, bool>, std::optional<std::int64_t>>;

struct Reader {
  const CsvRecord& row;
  const HeaderMap& map;
  std::vector<CsvProblem>& problems;
  DateCache& dates;
  bool ok = true;

  std::optional<double> Decimal(int column) {
    const sys::TextView t = Field(row, map, column);
    if (IsEmpty(t)) return std::nullopt;
    auto v = ParseDecimal(t);
    if (!v) Fail(column, "not a number", t);
    return v;
  }
  std::optional<std::int32_t> Whole(int column) {
    const sys::TextView t = Field(row, map, column);
    if (IsEmpty(t)) return std::nullopt;
    auto v = ParseWhole(t);
    if (!v) Fail(column, "not a whole number", t);
    return v;
  }
  std::optional<std::int64_t> Date(int column, bool dateOnly) {
    const sys::TextView t = Field(row, map, column);
    if (IsEmpty(t)) return std::nullopt;
    auto [at, added] = dates.try_emplace({sys::Text(t), dateOnly});
    if (added) at->second = ParseLocalDate(t, dateOnly);
    const auto v = at->second;
    if (!v)
      Fail(column,
           dateOnly ? "not a date (expected \"2026-11-23\" or \"23.11.2026\", a time may follow)"
                    : "not a date and time (expected \"2026-11-23 09:25[:05]\" or \"23.11.2026 09:25[:05]\")",
           t);
    return v;
  }
  void Require(int column, const char* what) {
    if (IsEmpty(Field(row, map, column))) Fail(column, what, {}, false);
  }
  void Fail(int column, std::string what, sys::TextView found, bool show = true) {
    ok = false;
    Add(problems, row.line, map.title[column], std::move(what), found, show);
  }
};

std::string InQuotes(sys::TextView text) {
  std::string out(1, '"');
  out += sys::ToUtf8(text);
  out += '"';
  return out;
}

// "disagrees with line N of WHAT, which has "X"" for `column` of the reader's row.
void Disagree(Reader& read, const CsvRecord& first, std::int32_t firstLine, const std::string& what, int column) {
  const sys::TextView before = Field(first, read.map, column);
  const sys::TextView now = Field(read.row, read.map, column);
  read.Fail(column,
            "disagrees with line " + std::to_string(firstLine) + " of " + what + ", which has " +
                (IsEmpty(before) ? std::string("no value") : InQuotes(before)),
            now, !IsEmpty(now));
}

// A value that differs from the first row's; a field that did not read is reported
// already and is not compared again.
template <class T>
bool Differs(const std::optional<T>& now, const std::optional<T>& first, sys::TextView text) {
  return now != first && (now || IsEmpty(text));
}

// The analysis fields of an AREAS row (all but the peak); id stays 0 when it did not read.
ImportAnalysis ReadAnalysisFields(Reader& read, std::optional<std::int32_t>& id) {
  ImportAnalysis a;
  a.line = read.row.line;
  id = read.Whole(kAnalysis);
  if (!id && IsEmpty(Field(read.row, read.map, kAnalysis))) read.Require(kAnalysis, "the analysis identifier is missing");
  // The host looks analyses up by their identifier as an unsigned number.
  if (id && *id < 0) {
    read.Fail(kAnalysis, "a negative analysis identifier, which the host cannot look up", Field(read.row, read.map, kAnalysis));
    id.reset();
  }
  a.id = id.value_or(0);
  a.sample = sys::Text(Field(read.row, read.map, kSample));
  a.date = read.Date(kDate, false);
  a.mixture = sys::Text(Field(read.row, read.map, kMixture));
  a.pressure = read.Decimal(kPressure);
  a.temperature = read.Decimal(kTemperature);
  return a;
}

// The peak of an AREAS row; nullopt for a row that only declares its analysis.
std::optional<ImportPeak> ReadPeak(Reader& read) {
  const CsvRecord& row = read.row;
  const HeaderMap& map = read.map;
  if (Field(row, map, kComponent).empty() && IsEmpty(Field(row, map, kChannel)) && IsEmpty(Field(row, map, kArea)) &&
      IsEmpty(Field(row, map, kTime)) && IsEmpty(Field(row, map, kComponentId)))
    return std::nullopt;
  ImportPeak peak;
  peak.nameId = sys::Text(Field(row, map, kComponentId));
  peak.name = sys::Text(Field(row, map, kComponent));
  if (peak.name.empty()) read.Require(kComponent, "the peak has no component name");
  const auto channel = read.Whole(kChannel);
  if (!channel && IsEmpty(Field(row, map, kChannel))) read.Require(kChannel, "the peak has no channel");
  if (channel && *channel < 1) read.Fail(kChannel, "a channel below 1 (channels count from 1)", Field(row, map, kChannel));
  const auto area = read.Decimal(kArea);
  if (!area && IsEmpty(Field(row, map, kArea))) read.Require(kArea, "the peak has no area");
  const auto time = read.Decimal(kTime);
  if (!time && IsEmpty(Field(row, map, kTime))) read.Require(kTime, "the peak has no retention time");
  peak.channel = channel.value_or(1) - 1;
  peak.area = area.value_or(0);
  peak.time = time.value_or(0);
  return peak;
}

void CheckAnalysisAgrees(Reader& read, const ImportAnalysis& a, const ImportAnalysis& first, const CsvRecord& firstRow) {
  const std::string what = "analysis " + std::to_string(a.id);
  if (a.sample != first.sample) Disagree(read, firstRow, first.line, what, kSample);
  if (a.mixture != first.mixture) Disagree(read, firstRow, first.line, what, kMixture);
  if (Differs(a.date, first.date, Field(read.row, read.map, kDate))) Disagree(read, firstRow, first.line, what, kDate);
  if (Differs(a.pressure, first.pressure, Field(read.row, read.map, kPressure)))
    Disagree(read, firstRow, first.line, what, kPressure);
  if (Differs(a.temperature, first.temperature, Field(read.row, read.map, kTemperature)))
    Disagree(read, firstRow, first.line, what, kTemperature);
}

// The certificate fields of a CERTIFICATES row (all but the component).
ImportMixture ReadMixtureFields(Reader& read, bool& usable) {
  ImportMixture m;
  m.line = read.row.line;
  m.name = sys::Text(Field(read.row, read.map, kCertMixture));
  if (m.name.empty()) read.Require(kCertMixture, "the mixture has no name");
  const sys::TextView idText = Field(read.row, read.map, kCertMixtureId);
  const auto id = read.Whole(kCertMixtureId);
  if (id && *id < 0) read.Fail(kCertMixtureId, "a negative mixture identifier, which the host cannot look up", idText);
  m.idGiven = id.has_value();
  m.id = id.value_or(0);
  m.cylinder = sys::Text(Field(read.row, read.map, kCylinder));
  m.release = read.Date(kRelease, true);
  m.expiry = read.Date(kExpiry, true);
  usable = !m.name.empty() && (id ? *id >= 0 : IsEmpty(idText));
  return m;
}

// The component of a CERTIFICATES row; nullopt for a row that only declares its mixture.
std::optional<ImportComponent> ReadComponent(Reader& read) {
  const CsvRecord& row = read.row;
  const HeaderMap& map = read.map;
  if (Field(row, map, kCertComponent).empty() && IsEmpty(Field(row, map, kConcentration)) &&
      IsEmpty(Field(row, map, kDeviation)) && IsEmpty(Field(row, map, kCertComponentId)))
    return std::nullopt;
  // The host's database keeps a component without a name, so an empty name with its
  // concentration and deviation is a component like any other.
  ImportComponent component;
  component.nameId = sys::Text(Field(row, map, kCertComponentId));
  component.name = sys::Text(Field(row, map, kCertComponent));
  const auto x = read.Decimal(kConcentration);
  if (!x && IsEmpty(Field(row, map, kConcentration))) read.Require(kConcentration, "the component has no concentration");
  const auto d = read.Decimal(kDeviation);
  if (!d && IsEmpty(Field(row, map, kDeviation))) read.Require(kDeviation, "the component has no deviation");
  component.concentration = x.value_or(0);
  component.deviation = d.value_or(0);
  return component;
}

void CheckMixtureAgrees(Reader& read, const ImportMixture& m, const ImportMixture& first, const CsvRecord& firstRow) {
  const std::string what = "this mixture";
  if (m.name != first.name) Disagree(read, firstRow, first.line, what, kCertMixture);
  if (m.cylinder != first.cylinder) Disagree(read, firstRow, first.line, what, kCylinder);
  if (Differs(m.release, first.release, Field(read.row, read.map, kRelease)))
    Disagree(read, firstRow, first.line, what, kRelease);
  if (Differs(m.expiry, first.expiry, Field(read.row, read.map, kExpiry)))
    Disagree(read, firstRow, first.line, what, kExpiry);
}

// Names that the host cannot tell apart need identifiers to stay two certificates.
void CheckNamesApart(const ImportData& data, const HeaderMap& map, std::vector<CsvProblem>& problems) {
  for (std::size_t j = 1; j < data.mixtures.size(); ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      const ImportMixture& a = data.mixtures[i];
      const ImportMixture& b = data.mixtures[j];
      if ((a.idGiven && b.idGiven) || !SameNameNoCase(a.name, b.name)) continue;
      Add(problems, b.line, map.title[kCertMixtureId],
          "a second certificate named like the one on line " + std::to_string(a.line) +
              ": give both a mixture_id to keep them apart",
          b.name);
      break;
    }
  }
}

// Certificates without mixture_id get the lowest identifiers that none gives, in order.
void AssignIdentifiers(ImportData& data) {
  std::set<std::int32_t> used;
  for (const auto& m : data.mixtures)
    if (m.idGiven) used.insert(m.id);
  std::int32_t next = 1;
  for (auto& m : data.mixtures) {
    if (m.idGiven) continue;
    while (used.count(next)) ++next;
    m.id = next++;
  }
}

}  // namespace

void ReadAreas(const CsvTable& table, ImportData& data, std::vector<CsvProblem>& problems) {
  if (table.records.empty()) {
    Add(problems, 1, {}, "the file is empty: a header row and one row per peak are expected", {}, false);
    return;
  }
  HeaderMap map;
  if (!MapHeader(table, kAreasColumns, map, problems)) return;
  data.mixtureTitle = map.title[kMixture];
  std::map<std::int32_t, std::size_t> index;  // analysis id -> position in data.analyses
  std::vector<const CsvRecord*> firstRow;     // by position in data.analyses
  DateCache dates;
  for (std::size_t r = 1; r < table.records.size(); ++r) {
    const CsvRecord& row = table.records[r];
    CheckWidth(table.records.front(), row, problems);
    Reader read{row, map, problems, dates};
    std::optional<std::int32_t> id;
    ImportAnalysis a = ReadAnalysisFields(read, id);
    std::optional<ImportPeak> peak = ReadPeak(read);
    if (!id) continue;
    const auto [it, added] = index.try_emplace(*id, data.analyses.size());
    if (added) {
      data.analyses.push_back(std::move(a));
      firstRow.push_back(&row);
    } else {
      CheckAnalysisAgrees(read, a, data.analyses[it->second], *firstRow[it->second]);
    }
    if (peak && read.ok) data.analyses[it->second].peaks.push_back(std::move(*peak));
  }
}

void ReadCertificates(const CsvTable& table, ImportData& data, std::vector<CsvProblem>& problems) {
  if (table.records.empty()) {
    Add(problems, 1, {}, "the file is empty: a header row and one row per mixture component are expected", {}, false);
    return;
  }
  HeaderMap map;
  if (!MapHeader(table, kCertificateColumns, map, problems)) return;
  // A certificate is the rows of one mixture_id, or, without one, of one exact name.
  std::map<std::int32_t, std::size_t> byId;
  std::map<sys::Text, std::size_t> byName;
  std::vector<const CsvRecord*> firstRow;  // by position in data.mixtures
  DateCache dates;
  for (std::size_t r = 1; r < table.records.size(); ++r) {
    const CsvRecord& row = table.records[r];
    CheckWidth(table.records.front(), row, problems);
    Reader read{row, map, problems, dates};
    bool usable = false;
    ImportMixture m = ReadMixtureFields(read, usable);
    std::optional<ImportComponent> component = ReadComponent(read);
    if (!usable) continue;
    const std::size_t at = m.idGiven ? byId.try_emplace(m.id, data.mixtures.size()).first->second
                                     : byName.try_emplace(m.name, data.mixtures.size()).first->second;
    if (at == data.mixtures.size()) {
      data.mixtures.push_back(std::move(m));
      firstRow.push_back(&row);
    } else {
      CheckMixtureAgrees(read, m, data.mixtures[at], *firstRow[at]);
    }
    if (component && read.ok) data.mixtures[at].components.push_back(std::move(*component));
  }
  CheckNamesApart(data, map, problems);
  AssignIdentifiers(data);
}

void CheckMixturesNamed(const ImportData& data, std::vector<CsvProblem>& problems) {
  std::vector<const sys::Text*> reported;
  for (const auto& a : data.analyses) {
    if (a.mixture.empty()) continue;
    bool known = false;
    for (const auto& m : data.mixtures) known = known || SameNameNoCase(a.mixture, m.name);
    if (known) continue;
    bool again = false;
    for (const sys::Text* r : reported) again = again || *r == a.mixture;
    if (again) continue;
    reported.push_back(&a.mixture);
    Add(problems, a.line, data.mixtureTitle, "no certificate of this mixture in the certificates file",
        a.mixture);
  }
}
