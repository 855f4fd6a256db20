// options.cpp: parsing the command line of vetrix-check. Numbers must be whole decimal
// integers within 32 bits; anything else is a usage error naming the argument.
#include "cli/options.h"

#include <charconv>
#include <cstring>

#include "plugin/export_folder.h"

namespace {

bool ParseInt(std::string_view s, std::int32_t& out) {
  if (s.empty()) return false;
  auto res = std::from_chars(s.data(), s.data() + s.size(), out);
  return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

bool ParseIdList(std::string_view s, std::vector<std::int32_t>& ids) {
  while (true) {
    const std::size_t comma = s.find(',');
    std::int32_t id = 0;
    if (!ParseInt(s.substr(0, comma), id)) return false;
    ids.push_back(id);
    if (comma == std::string_view::npos) return true;
    s.remove_prefix(comma + 1);
  }
}

}  // namespace

std::optional<CheckOptions> ParseOptions(int argc, char** argv, std::string& error) {
  CheckOptions o;
  auto value = [&](int& i, const char* name) -> const char* {
    if (i + 1 >= argc) {
      error = std::string(name) + " needs a value";
      return nullptr;
    }
    return argv[++i];
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--db") {
      const char* v = value(i, "--db");
      if (!v) return std::nullopt;
      o.db = v;
    } else if (a == "--select") {
      const char* v = value(i, "--select");
      if (!v) return std::nullopt;
      o.ids.clear();
      o.selectAll = std::strcmp(v, "all") == 0;
      if (!o.selectAll && !ParseIdList(v, o.ids)) {
        error = std::string("--select: not a list of identifiers: ") + v;
        return std::nullopt;
      }
    } else if (a == "--pressure-correction") {
      o.pressureCorrection = true;
    } else if (a == "--temperature-correction") {
      o.temperatureCorrection = true;
    } else if (a == "--alt-name") {
      const char* v = value(i, "--alt-name");
      if (!v) return std::nullopt;
      const std::string_view s = v;
      const std::size_t eq = s.find('=');
      std::int32_t id = 0;
      if (eq == std::string_view::npos || !ParseInt(s.substr(0, eq), id)) {
        error = std::string("--alt-name: expected ID=TEXT: ") + v;
        return std::nullopt;
      }
      o.altNames.emplace_back(id, sys::FromUtf8(s.substr(eq + 1)));
    } else if (a == "--digits") {
      const char* v = value(i, "--digits");
      if (!v) return std::nullopt;
      if (!ParseInt(v, o.digits)) {
        error = std::string("--digits: not an integer: ") + v;
        return std::nullopt;
      }
    } else if (a == "--points") {
      o.points = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--export") {
      const char* v = value(i, "--export");
      if (!v) return std::nullopt;
      o.exportDir = v;
      if (const std::string problem = ExportFolderProblem("--export", v); !problem.empty()) {
        error = problem;
        return std::nullopt;
      }
    } else if (a == "--write-csv") {
      const char* v = value(i, "--write-csv");
      if (!v) return std::nullopt;
      o.writeCsvDir = v;
    } else {
      error = "unknown argument: " + std::string(a);
      return std::nullopt;
    }
  }
  if (o.db.empty()) {
    error = "--db FILE is required";
    return std::nullopt;
  }
  return o;
}
