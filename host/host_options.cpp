// host_options.cpp: parsing the command line of lortan (see host_options.h).
#include "host/host_options.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "plugin/export_folder.h"

const char kHostUsage[] =
    "usage: lortan [--db FILE] [--profile FILE] [--plugins DIR] [--templates DIR] [--host-version WORD]\n"
    "       lortan --batch --db FILE [--profile FILE] [--select all|ID,...] [--export DIR]\n"
    "              [--report FILE [--report-parts list,mixtures,mixture-info,results,graph]]\n"
    "              [--plugins DIR] [--templates DIR] [--host-version WORD]\n";

namespace {

bool ParseIds(const std::string& text, std::vector<std::int32_t>& ids) {
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
    ids.push_back(static_cast<std::int32_t>(v));
  }
  return !ids.empty();
}

bool ParseParts(const std::string& text, ReportParts& parts) {
  parts = ReportParts{false, false, false, false, false};
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    if (item == "list")
      parts.assayList = true;
    else if (item == "mixtures")
      parts.mixtureList = true;
    else if (item == "mixture-info")
      parts.mixtureInfo = true;
    else if (item == "results")
      parts.results = true;
    else if (item == "graph")
      parts.graph = true;
    else if (!item.empty())
      return false;
  }
  return true;
}

bool ParseVersion(const std::string& text, std::uint32_t& version) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (text.empty() || text[0] == '-' || *end != '\0' || errno == ERANGE || v > UINT32_MAX) return false;
  version = static_cast<std::uint32_t>(v);
  return true;
}

}  // namespace

std::optional<HostOptions> ParseHostOptions(int argc, char** argv, std::string& error) {
  HostOptions o;
  bool batchOnly = false, partsGiven = false;
  auto fail = [&](std::string line) -> std::optional<HostOptions> {
    error = std::move(line);
    return std::nullopt;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--batch") {
      o.batch = true;
    } else if (arg == "--db" || arg == "--profile" || arg == "--plugins" || arg == "--templates") {
      if (!value(v) || v.empty()) return fail(arg + " needs a value");
      (arg == "--db"        ? o.db
       : arg == "--profile" ? o.profile
       : arg == "--plugins" ? o.pluginFolder
                            : o.templateFolder) = v;
    } else if (arg == "--host-version") {
      if (!value(v) || !ParseVersion(v, o.hostVersion)) return fail("--host-version needs a 32-bit number");
    } else if (arg == "--select") {
      batchOnly = true;
      if (!value(v)) return fail("--select needs all or a list of identifiers");
      o.selectIds.clear();
      o.selectAll = v == "all";
      if (!o.selectAll && !ParseIds(v, o.selectIds)) return fail("--select: not a list of identifiers: " + v);
    } else if (arg == "--export" || arg == "--report") {
      batchOnly = true;
      if (!value(v) || v.empty()) return fail(arg + " needs a value");
      (arg == "--export" ? o.exportFolder : o.reportFile) = v;
    } else if (arg == "--report-parts") {
      batchOnly = partsGiven = true;
      if (!value(v) || !ParseParts(v, o.reportParts))
        return fail("--report-parts: choose from list,mixtures,mixture-info,results,graph");
    } else {
      return fail("unknown option: " + arg);
    }
  }
  if (o.help) return o;
  if (batchOnly && !o.batch) return fail("--select, --export, --report and --report-parts need --batch");
  if (o.batch && o.db.empty()) return fail("--batch needs --db FILE");
  if (partsGiven && o.reportFile.empty()) return fail("--report-parts needs --report FILE");
  if (!o.exportFolder.empty()) {
    // The folder is entered into the settings as an absolute path; the profile must give
    // it back whole.
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(o.exportFolder, ec).string();
    if (const std::string problem = ExportFolderProblem("--export", ec ? o.exportFolder : absolute); !problem.empty())
      return fail(problem);
  }
  return o;
}
