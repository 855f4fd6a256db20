// import_run.cpp: reading, checking and writing of an import, with its messages.
#include "cli/import_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "cli/csv_reader.h"

namespace {

// The bytes of a file; false with the system's reason in `error`.
bool ReadBytes(const std::string& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = "cannot read: it is a folder";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::string("cannot read: ") + std::strerror(errno);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = std::string("cannot read: ") + std::strerror(errno);
    return false;
  }
  return true;
}

// Reads and splits one file; false when it could not be read at all.
bool LoadTable(const std::string& path, CsvTable& table, std::vector<CsvProblem>& problems) {
  std::string bytes, error;
  if (!ReadBytes(path, bytes, error)) {
    problems.push_back({0, {}, error, {}, false});
    return false;
  }
  // "Unicode text" of spreadsheet programs: not a format of the import, and read as
  // Windows-1251 it would only give a confusing header.
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    problems.push_back({1, {}, "the file is UTF-16 text: save it as CSV in UTF-8 or Windows-1251", {}, false});
    return false;
  }
  table = ParseCsv(DecodeCsvBytes(bytes), problems);
  return true;
}

// The problems of one file in line order (stable: within a line, as found).
void Report(const std::string& file, std::vector<CsvProblem> problems, std::vector<std::string>& errors) {
  std::stable_sort(problems.begin(), problems.end(),
                   [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
  for (std::size_t i = 0; i < problems.size() && i < kProblemLimit; ++i) errors.push_back(FormatProblem(file, problems[i]));
  if (problems.size() > kProblemLimit)
    errors.push_back(file + ": " + std::to_string(problems.size() - kProblemLimit) + " more problems not shown");
}

}  // namespace

std::string FormatProblem(const std::string& file, const CsvProblem& p) {
  std::string line = file;
  if (p.line > 0) line += ", line " + std::to_string(p.line);
  if (!p.column.empty()) line += ", column \"" + sys::ToUtf8(p.column) + "\"";
  line += ": " + p.what;
  if (p.showFound) line += ": \"" + sys::ToUtf8(p.found) + "\"";
  return line;
}

std::string ImportSummary(const ImportOutcome& o) {
  std::string summary = "imported into " + o.database + ": analyses " + std::to_string(o.counts.analyses) +
                        ", peaks " + std::to_string(o.counts.peaks) + ", mixtures " +
                        std::to_string(o.counts.mixtures) + ", components " + std::to_string(o.counts.components);
  for (const std::string& line : o.counts.notRemoved) {
    summary += "\nthe earlier import it replaced could not be removed completely: ";
    summary += line;
  }
  return summary;
}

ImportOutcome RunImport(const ImportRequest& request) {
  ImportOutcome outcome;
  ImportData data;
  std::vector<CsvProblem> areaProblems, certificateProblems;
  CsvTable areas, certificates;
  const bool areasRead = LoadTable(request.areas, areas, areaProblems);
  const bool certificatesRead = LoadTable(request.certificates, certificates, certificateProblems);
  if (areasRead) ReadAreas(areas, data, areaProblems);
  if (certificatesRead) ReadCertificates(certificates, data, certificateProblems);
  // Names can be matched only against a complete set of certificates.
  if (areasRead && certificatesRead && certificateProblems.empty()) CheckMixturesNamed(data, areaProblems);
  Report(request.areas, areaProblems, outcome.errors);
  Report(request.certificates, certificateProblems, outcome.errors);
  if (!outcome.errors.empty()) return outcome;
  const std::string failure = WriteImport(data, request.outDir, request.force, outcome.counts);
  if (!failure.empty()) {
    outcome.errors.push_back(failure);
    return outcome;
  }
  outcome.database = (std::filesystem::absolute(request.outDir) / "lortan.db").string();
  outcome.ok = true;
  return outcome;
}
