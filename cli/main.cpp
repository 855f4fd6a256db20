// vetrix-check: the linearity check without windows.
//
// Builds the run's inputs from its command line (component list, correction switches,
// digits, export folder; no profile, no host), loads chromatograms from a host database
// with the module's loaders, runs the check the module runs and prints the results table
// and the system messages (with --points also every curve's points; with --json one JSON
// document instead). Exit code 0 when the check ran, whatever its verdicts; 1 when the
// results were printed but the requested workbook was not written; 2 with one line on
// standard error for a bad command line, a database failure, a chromatogram that failed
// to load, nothing loaded at all, or standard output that could not be written. Chosen
// identifiers that were skipped are named on standard error.
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
#include "cli/selection.h"
#include "cli/text_output.h"
#include "data/database.h"
#include "data/loaders.h"
#include "data/skipped_assays.h"
#include "output/workbook.h"
#include "platform/sys/text_table.h"
#include "platform/sys/locale.h"
#include "platform/sys/stdout_writer.h"

namespace {

int Fail(const std::string& line) {
  std::fprintf(stderr, "vetrix-check: %s\n", line.c_str());
  return 2;
}

// The workbook of the run into `dir` (made when missing), with `digits` decimals; refused
// sheet titles and write failures go to standard error with the texts the module shows in
// its message boxes. Returns 0, or 1 when no workbook was written.
int Export(const CalculationContext& context, const std::string& dir, int digits) {
  if (sys::FromUtf8(dir).size() <= 2) {
    Fail("the workbook was not written: the export folder \"" + dir + "\" has 2 characters or fewer");
    return 1;
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    Fail("the workbook was not written: the export folder " + dir + " cannot be created: " + ec.message());
    return 1;
  }
  const ExportMessageSink toStderr = [](sys::TextView message) {
    std::fprintf(stderr, "%s\n", sys::ToUtf8(sys::ToTerminalLines(message)).c_str());
  };
  std::string path;
  if (!ExportWorkbook(context, {sys::FromUtf8(dir), digits}, toStderr, &path)) {
    Fail("the workbook was not written to " + dir);
    return 1;
  }
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
  std::vector<std::int32_t> skipped;
  {
    DataBase::Connection db(DataBaseConnectionBase::instance().location());
    skipped = LoadSelection(db, o.selectAll, o.ids, lists);
  }
  if (!skipped.empty()) std::fprintf(stderr, "vetrix-check: %s\n", SkippedLine(skipped).c_str());
  if (lists.assays.empty())
    return Fail(o.selectAll ? "nothing to check: the database " + o.db + " lists no visible chromatogram"
                            : "nothing to check: none of the chosen chromatograms could be loaded");
  if (!o.writeCsvDir.empty()) {
    const std::string failure = WriteCheckCsv(lists, o.writeCsvDir);
    if (!failure.empty()) return Fail(failure);
  }

  CalculationContext context;
  RunCheck(context, {lists.mixtures, lists.assays, components, {o.pressureCorrection, o.temperatureCorrection}});
  const std::string out = o.json ? RunToJson(lists, context, context.messages)
                                 : sys::ToUtf8(RunToText(context, context.messages, o.digits, o.points));
  if (std::string error; !sys::WriteStdout(out, error)) return Fail(error);
  return o.exportDir.empty() ? 0 : Export(context, o.exportDir, o.digits);
}

}  // namespace

int main(int argc, char** argv) {
  sys::ReserveStandardStreams();
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
