// vetrix-check: the linearity check without windows.
//
// Builds the run's inputs from its command line (component list, correction switches,
// digits, export folder; no profile, no host), loads chromatograms from a host database
// with the module's loaders, runs the check the module runs and prints the results table
// and the system messages (with --points also every curve's points; with --json one JSON
// document instead). Exit code 0 when the check ran, whatever its verdicts; 2 with one
// line on standard error for a bad command line or a database failure.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "calc/components.h"
#include "calc/messages.h"
#include "calc/run.h"
#include "cli/json_output.h"
#include "cli/options.h"
#include "cli/text_output.h"
#include "data/database.h"
#include "data/loaders.h"
#include "output/workbook.h"
#include "platform/sys/text_table.h"
#include "platform/sys/locale.h"

namespace {

int Fail(const std::string& line) {
  std::fprintf(stderr, "vetrix-check: %s\n", line.c_str());
  return 2;
}

std::vector<std::int32_t> VisibleAssayIds(DataBase::Connection& db) {
  std::vector<std::int32_t> ids;
  DataBase::Statement query;
  DataBase::prepare(db, query, u"SELECT id FROM [assay] WHERE ishidden = 0 AND isdeleted = 0 ORDER BY id;");
  DataBase::forEachRow(query, [&](std::int32_t id) { ids.push_back(id); });
  return ids;
}

// The workbook of the run into `dir`; refused sheet titles and write failures go to
// standard error with the texts the module shows in its message boxes.
int Export(const CalculationContext& context, const std::string& dir, int digits) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const ExportMessageSink toStderr = [](sys::TextView message) {
    std::fprintf(stderr, "%s\n", sys::ToUtf8(sys::ToTerminalLines(message)).c_str());
  };
  std::string path;
  if (!ExportWorkbook(context, {sys::FromUtf8(dir), digits}, toStderr, &path)) return Fail("the workbook was not written to " + dir);
  std::fprintf(stderr, "vetrix-check: workbook written: %s\n", path.c_str());
  return 0;
}

int Run(const CheckOptions& o) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(o.db, ec)) return Fail("no database file: " + o.db);
  sys::SetRussianLocale();
  std::vector<ComponentName> components = DefaultComponents();
  for (const auto& [id, text] : o.altNames) {
    if (id < 0 || static_cast<std::size_t>(id) >= components.size())
      return Fail("--alt-name: no component with identifier " + std::to_string(id));
    components[static_cast<std::size_t>(id)].altName = text;
  }

  LoadedLists lists;
  DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(o.db));
  std::vector<std::int32_t> ids = o.ids;
  if (o.selectAll) {
    DataBase::Connection db(DataBaseConnectionBase::instance().location());
    ids = VisibleAssayIds(db);
  }
  loadAssays(ids, lists);
  SortAssays(lists.assays);

  CalculationContext context;
  RunCheck(context, {lists.mixtures, lists.assays, components, {o.pressureCorrection, o.temperatureCorrection}});
  const std::string out = o.json ? RunToJson(lists, context, context.messages)
                                 : sys::ToUtf8(RunToText(context, context.messages, o.digits, o.points));
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (std::fflush(stdout) != 0) return Fail("cannot write the output");
  return o.exportDir.empty() ? 0 : Export(context, o.exportDir, o.digits);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "%s", kUsage);
    return Fail(error);
  }
  try {
    return Run(*options);
  } catch (const DataBase::SqlException& e) {
    std::string line = std::string(e.what()) + " (SQLite code " + std::to_string(e.code) + ", database " + options->db;
    if (!e.sql.empty()) line += ", statement: " + e.sql;
    return Fail(line + ")");
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
