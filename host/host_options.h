// host_options.h: the command line of lortan, the reference host.
//
//   lortan [--db FILE] [--profile FILE] [--plugins DIR] [--templates DIR] [--host-version WORD]
//   lortan --batch --db FILE [--profile FILE] [--select all|ID,...] [--export DIR]
//          [--report FILE [--report-parts list,mixtures,mixture-info,results,graph]]
//          [--plugins DIR] [--templates DIR] [--host-version WORD]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The parts of the report the batch mode ticks in the report dialog.
struct ReportParts {
  bool assayList = true;    // "list": "Список хроматограмм"
  bool mixtureList = true;  // "mixtures": "Список смесей"
  bool mixtureInfo = true;  // "mixture-info": "Данные по смесям"
  bool results = true;      // "results": "Результаты проверки"
  bool graph = true;        // "graph": "График"
};

struct HostOptions {
  std::string db;                           // --db: the host database (empty: none)
  std::string profile;                      // --profile: the profile store (empty: the default location)
  std::string pluginFolder;                 // --plugins: where the modules are (empty: next to the program)
  std::string templateFolder;               // --templates: the report templates (empty: next to the program)
  std::uint32_t hostVersion = 0x04090300u;  // --host-version: the word given to GetPluginInfo

  bool batch = false;                   // --batch
  bool selectAll = true;                // --select all (the default)
  std::vector<std::int32_t> selectIds;  // --select ID,ID,...
  std::string exportFolder;             // --export DIR
  std::string reportFile;               // --report FILE
  ReportParts reportParts;              // --report-parts (default: every part)
  bool help = false;                    // --help
};

// Parses argv (argv[0] is the program). nullopt with one line in `error` for a bad
// command line: an unknown option, a missing or malformed value, batch options without
// --batch, --batch without --db, --report-parts without --report.
[[nodiscard]] std::optional<HostOptions> ParseHostOptions(int argc, char** argv, std::string& error);

extern const char kHostUsage[];
