// vetrix-check: the linearity check without windows.
//
// Loads chromatograms from a host database, runs the check and prints the results table
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
#include "cli/csv_export.h"
#include "cli/json_output.h"
#include "cli/options.h"
#include "cli/settings_host.h"
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
int Export(const CalculationContext& context, const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const ExportMessageSink toStderr = [](sys::TextView message) {
    std::fprintf(stderr, "%s\n", sys::ToUtf8(sys::ToTerminalLines(message)).c_str());
  };
  std::string path;
  if (!ExportWorkbook(context, toStderr, &path)) return Fail("the workbook was not written to " + dir);
  std::fprintf(stderr, "vetrix-check: workbook written: %s\n", path.c_str());
  return 0;
}

int Run(const CheckOptions& o) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(o.db, ec)) return Fail("no database file: " + o.db);
  sys::SetRussianLocale();
  InstallSettingsHost(o.pressureCorrection, o.temperatureCorrection, o.digits, o.exportDir);
  BuildDefaultComponents();
  LoadComponentNames();
  auto& components = ComponentList();
  for (const auto& [id, text] : o.altNames) {
    if (id < 0 || static_cast<std::size_t>(id) >= components.size())
      return Fail("--alt-name: no component with identifier " + std::to_string(id));
    components[static_cast<std::size_t>(id)].altName = text;
  }
  BuildMessageTable();

  LoadedLists& lists = Loaded();
  DataBaseConnectionBase::instance().setLocation(sys::FromUtf8(o.db));
  {
    DataBase::Connection db(DataBaseConnectionBase::instance().location());
    const std::vector<std::int32_t> ids = o.selectAll ? VisibleAssayIds(db) : o.ids;
    for (std::int32_t id : ids) loadAssay(db, id, lists);
  }
  SortAssays(lists.assays);
  if (!o.writeCsvDir.empty()) {
    const std::string failure = WriteCheckCsv(lists, o.writeCsvDir);
    if (!failure.empty()) return Fail(failure);
  }

  CalculationContext context;
  SystemMessageLog().Clear();
  RunCheck(context, lists.mixtures, lists.assays);
  const std::string out = o.json ? RunToJson(lists, context, SystemMessageLog())
                                 : sys::ToUtf8(RunToText(context, SystemMessageLog(), o.digits, o.points));
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (std::fflush(stdout) != 0) return Fail("cannot write the output");
  return o.exportDir.empty() ? 0 : Export(context, o.exportDir);
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
