// batch_profile.cpp: the private copy of the default profile for batch runs (see
// batch_profile.h).
#include "host/batch_profile.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>

namespace {

// Copies the database at `from` into `to` with SQLite's online backup. False with the
// SQLite text in `error`.
bool Backup(const std::string& from, const std::string& to, std::string& error) {
  sqlite3* source = nullptr;
  sqlite3* target = nullptr;
  int rc = sqlite3_open_v2(from.c_str(), &source, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) sqlite3_busy_timeout(source, 5000);
  if (rc == SQLITE_OK) rc = sqlite3_open_v2(to.c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (backup) {
      rc = sqlite3_backup_step(backup, -1);
      sqlite3_backup_finish(backup);
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    } else {
      rc = sqlite3_errcode(target);
    }
  }
  if (rc != SQLITE_OK) {
    sqlite3* failing = target ? target : source;
    error = failing ? sqlite3_errmsg(failing) : sqlite3_errstr(rc);
    if (source && sqlite3_errcode(source) != SQLITE_OK) error = sqlite3_errmsg(source);
  }
  sqlite3_close(target);
  sqlite3_close(source);
  return rc == SQLITE_OK;
}

}  // namespace

PrivateProfile::~PrivateProfile() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool PrivateProfile::CopyFrom(const std::string& source, std::string& error) {
  std::error_code ec;
  std::string folder = (std::filesystem::temp_directory_path(ec) / "lortan-profile-XXXXXX").string();
  if (ec || !::mkdtemp(folder.data())) {
    error = std::string("no private folder for the profile copy: ") + (ec ? ec.message() : std::strerror(errno));
    return false;
  }
  folder_ = folder;
  if (!std::filesystem::exists(source, ec)) return true;  // nothing stored yet: an empty profile
  if (!Backup(source, path(), error)) {
    error = "the profile store " + source + " cannot be copied: " + error;
    return false;
  }
  return true;
}
