// bench_database.h: the host databases the main-window benchmark reloads from.
//
// WriteCalibrationDatabase writes a calibration of many chromatograms quickly: one
// transaction of prepared inserts and one small chromatogram file shared by every row.
// Costs a second or two for 2 000 chromatograms; the folder is the caller's to remove.
#pragma once

#include <filesystem>
#include <string>

// Writes dir/host.db (tables mixture, mixturecomp, assay, peak) and dir/small.stg:
// five mixtures ГСО-1 … ГСО-5 of 15 certified components, and `chromatograms` analyses
// with ids 1 … n spread over the mixtures in turn, each with 30 peaks (the 15 components
// on two channels) whose areas follow the concentrations with a little scatter. Returns
// the database path, or an empty string when SQLite or the file write failed.
std::string WriteCalibrationDatabase(const std::filesystem::path& dir, int chromatograms);
