// csv_export.cpp: the loaded lists of a check as the import's two CSV files.
#include "cli/csv_export.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/csv_fields.h"

namespace {

constexpr char kEnd[] = "\r\n";

std::string Text(const sys::Text& t) { return CsvField(sys::ToUtf8(t)); }
std::string Date(std::int64_t t, bool dropMidnight) { return t == 0 ? std::string() : FormatLocalDate(t, dropMidnight); }

std::filesystem::path PartName(const std::filesystem::path& path) {
  std::string name(1, '.');
  name += path.filename().string();
  name += ".part";
  return path.parent_path() / name;
}

// Writes `text` under the .part name of `path`; false with the path and the reason.
bool WritePart(const std::filesystem::path& path, const std::string& text, std::string& error) {
  const std::filesystem::path part = PartName(path);
  std::ofstream out(part, std::ios::binary | std::ios::trunc);
  out << text;
  out.flush();
  if (out) return true;
  error = part.string() + ": cannot write: " + std::strerror(errno);
  return false;
}

}  // namespace

std::string CsvField(const std::string& s) {
  const bool quote = !s.empty() && (s.find_first_of(",\"\r\n") != std::string::npos || s.front() == ' ' ||
                                    s.back() == ' ' || s.front() == '\t' || s.back() == '\t');
  if (!quote) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string AreasCsv(const LoadedLists& lists) {
  std::string out = "analysis,sample,date,mixture,pressure,temperature,channel,component,component_id,area,time";
  out += kEnd;
  for (const Assay& a : lists.assays) {
    std::string head = std::to_string(a.id) + "," + Text(a.sample) + "," + Date(a.date, false) + ",";
    if (a.mixture) head += Text(a.mixtureName);
    head += ',';
    if (a.atmPressure != 0.0) head += FormatExact(a.atmPressure);
    head += ',';
    if (a.airTemperatureKnown) head += FormatExact(a.airTemperature);
    if (a.peaks.empty()) out += head + ",,,,," + kEnd;
    for (const Peak& p : a.peaks)
      out += head + "," + std::to_string(static_cast<std::int64_t>(p.channel) + 1) + "," + Text(p.name) + "," +
             Text(p.nameId) + "," + FormatExact(p.area) + "," + FormatExact(p.time) + kEnd;
  }
  return out;
}

std::string CertificatesCsv(const LoadedLists& lists) {
  std::string out = "mixture,mixture_id,cylinder,release,expiry,component,component_id,concentration,deviation";
  out += kEnd;
  for (const auto& m : lists.mixtures) {
    const std::string head = Text(m->name) + "," + std::to_string(m->id) + "," + Text(m->ballon) + "," +
                             Date(m->release, true) + "," + Date(m->expiry, true);
    if (m->components.empty()) out += head + ",,,," + kEnd;
    for (const MixtureComponent& c : m->components)
      out += head + "," + Text(c.name) + "," + Text(c.nameId) + "," + FormatExact(c.concentration) + "," +
             FormatExact(c.deviation) + kEnd;
  }
  return out;
}

std::string WriteCheckCsv(const LoadedLists& lists, const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) return dir + ": cannot create the folder: " + ec.message();
  const std::filesystem::path areas = std::filesystem::path(dir) / "areas.csv";
  const std::filesystem::path certificates = std::filesystem::path(dir) / "certificates.csv";
  // A final name held by something other than a file would refuse its rename after the
  // other file took its own: refused before anything is written.
  for (const auto& path : {areas, certificates}) {
    const auto type = std::filesystem::symlink_status(path, ec).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::symlink)
      return path.string() + ": not a regular file; nothing was written";
  }
  // Both files complete before either takes its name, so that a failure does not pair
  // a new file with one of an earlier run.
  std::string error;
  if (!WritePart(areas, AreasCsv(lists), error) || !WritePart(certificates, CertificatesCsv(lists), error)) {
    std::filesystem::remove(PartName(areas), ec);
    std::filesystem::remove(PartName(certificates), ec);
    return error;
  }
  for (const auto& path : {areas, certificates}) {
    std::filesystem::rename(PartName(path), path, ec);
    if (ec) {
      error = path.string() + ": cannot put the file in place: " + ec.message();
      std::filesystem::remove(PartName(areas), ec);
      std::filesystem::remove(PartName(certificates), ec);
      return error;
    }
  }
  return {};
}
