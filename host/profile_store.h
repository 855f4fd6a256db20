// profile_store.h: the host profile — integer and text values by full key — in a SQLite
// file.
//
// Every write is one SQLite transaction, committed to the write-ahead log with a full
// flush, so a value the host has answered "stored" for survives a crash, a kill or a power
// cut right after. Any value is stored as given, 0 and the empty text included;
// interpreting a stored 0 is the module's business. Keys and texts are UTF-16, compared
// exactly. Integers and texts are separate name spaces. Costs: one statement and one flush
// per write (about 0.25 ms here); the files grow in 256 KiB steps, since a flush that must
// also record a new file size costs about ten times as much; the connection stays open.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/sys/text.h"

struct sqlite3;

class ProfileStore {
 public:
  // Opens (creating it and its folder when missing) the store at `path` (UTF-8). Null
  // with SQLite's or the file system's text in `error` on failure.
  static std::unique_ptr<ProfileStore> Open(const std::string& path, std::string& error);
  ~ProfileStore();
  ProfileStore(const ProfileStore&) = delete;
  ProfileStore& operator=(const ProfileStore&) = delete;

  // nullopt when the key has no value of that kind (or the read failed).
  std::optional<std::int32_t> GetInt(sys::TextView key);
  std::optional<sys::Text> GetString(sys::TextView key);
  // False when the value could not be stored (the text goes to standard error).
  bool SetInt(sys::TextView key, std::int32_t value);
  bool SetString(sys::TextView key, sys::TextView value);

  const std::string& path() const { return path_; }

 private:
  ProfileStore(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  bool Write(const char* sql, sys::TextView key, const void* bindValue, bool isText);

  sqlite3* db_;
  std::string path_;
};

// $XDG_CONFIG_HOME/lortan/profile.db, or ~/.config/lortan/profile.db without it.
std::string DefaultProfilePath();
