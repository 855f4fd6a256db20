// small_database.h: a small host database for the main window's tests: five certified
// mixtures analysed five times each (chromatograms 1 to 25), methane and ethane on
// channel 0 and nitrogen on channel 1, areas proportional to the concentrations with a
// small spread. No chromatogram files: pressure and temperature are never taken.
#pragma once

#include <string>

// Creates (replaces) the database file at `path`. Returns an empty string or SQLite's
// error text.
std::string CreateSmallDatabase(const std::string& path);

// Runs `sql` on the database at `path`; an empty string or SQLite's error text.
std::string ExecSql(const std::string& path, const std::string& sql);

inline constexpr int kSmallDatabaseAssays = 25;
