// small_database.cpp: the tests' host database (see small_database.h).
#include "tests/ui/main/small_database.h"

#include "data/host_schema.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

std::string ExecSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    std::string error = sqlite3_errmsg(db);
    sqlite3_close(db);
    return error;
  }
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  std::string error = rc == SQLITE_OK ? std::string() : std::string(message ? message : "error");
  sqlite3_free(message);
  sqlite3_close(db);
  return error;
}

std::string CreateSmallDatabase(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::string sql = kHostDatabaseSchema;
  const double methane[] = {80, 85, 90, 95, 98};
  const double ethane[] = {1, 2, 4, 6, 8};
  const double nitrogen[] = {0.5, 1, 2, 4, 6};
  char line[512];
  int assay = 0;
  for (int m = 0; m < 5; ++m) {
    std::snprintf(line, sizeof line,
                  "INSERT INTO mixture VALUES (%d, 'ГСО-%d', 'Б-%d', 1700000000, 1800000000);"
                  "INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) VALUES"
                  " (%d, 1, 'Метан', %g, 0.5), (%d, 2, 'Этан', %g, 1), (%d, 17, 'Азот', %g, 1.5);",
                  m + 1, m + 1, m + 1, m + 1, methane[m], m + 1, ethane[m], m + 1, nitrogen[m]);
    sql += line;
    for (int k = 0; k < 5; ++k) {
      ++assay;
      const double spread = 1.0 + 0.001 * (k - 2);
      std::snprintf(line, sizeof line,
                    "INSERT INTO assay (id, date, filename, sample, mixture, atmpressure, airtemp)"
                    " VALUES (%d, %d, '', 'проба %d', 'ГСО-%d', 101.3, 20);"
                    "INSERT INTO peak (assayid, nameid, name, area, time, channel) VALUES"
                    " (%d, 1, 'Метан', %.4f, 1.5, 0), (%d, 2, 'Этан', %.4f, 2.5, 0), (%d, 17, 'Азот', %.4f, 0.8, 1);",
                    assay, 1700000000 + 600 * assay, assay, m + 1, assay, 1000 * methane[m] * spread, assay,
                    1800 * ethane[m] * spread, assay, 700 * nitrogen[m] * spread);
      sql += line;
    }
  }
  return ExecSql(path, sql);
}
