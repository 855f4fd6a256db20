// import_run.h: the whole import of two CSV files into a host database, as the command
// vetrix-import and the host's menu entry run it.
//
// Both files are read and checked completely before anything is written; a file with
// problems reports all of them (up to kProblemLimit per file) and nothing is written.
#pragma once

#include <string>
#include <vector>

#include "cli/import_writer.h"

struct ImportRequest {
  std::string areas;         // the AREAS file
  std::string certificates;  // the CERTIFICATES file
  std::string outDir;        // DIR: lortan.db and chromatograms/ go there
  bool force = false;        // replace an earlier import in DIR as a whole
};

struct ImportOutcome {
  bool ok = false;
  std::vector<std::string> errors;  // one line each, UTF-8, naming file, line and column
  ImportCounts counts;
  std::string database;  // DIR/lortan.db once written
};

inline constexpr std::size_t kProblemLimit = 50;

ImportOutcome RunImport(const ImportRequest& request);

// "FILE, line N, column "C": WHAT: "FOUND"" (the parts that the problem has).
std::string FormatProblem(const std::string& file, const CsvProblem& problem);

// The summary of a successful import: one line, then one for a replaced earlier import
// that could not be removed completely.
std::string ImportSummary(const ImportOutcome& outcome);
