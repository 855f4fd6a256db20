// options.h: the command line of vetrix-check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/text.h"

struct CheckOptions {
  std::string db;                          // --db FILE
  bool selectAll = true;                   // --select all (the default)
  std::vector<std::int32_t> ids;           // --select ID,ID,...
  bool pressureCorrection = false;         // --pressure-correction
  bool temperatureCorrection = false;      // --temperature-correction
  std::vector<std::pair<std::int32_t, sys::Text>> altNames;  // --alt-name ID=TEXT
  int digits = 3;                          // --digits N
  bool points = false;                     // --points
  bool json = false;                       // --json
  std::string exportDir;                   // --export DIR: also write the workbook there
  std::string writeCsvDir;                 // --write-csv DIR: also write what was loaded as CSV
};

// Parses argv; on a bad command line returns nullopt and sets `error` to one line.
[[nodiscard]] std::optional<CheckOptions> ParseOptions(int argc, char** argv, std::string& error);

inline constexpr char kUsage[] =
    "usage: vetrix-check --db FILE [--select all | --select ID,ID,...] [--pressure-correction]\n"
    "                    [--temperature-correction] [--alt-name ID=TEXT]... [--digits N] [--points] [--json]\n"
    "                    [--export DIR] [--write-csv DIR]\n";
