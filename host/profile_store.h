// profile_store.h: the host profile — integer and text values by full key — in a SQLite
// file.
//
// Writes are grouped: the writes made between BeginGroup and the matching EndGroup (the
// host opens a group around every command it dispatches, every window message and every
// module's Unload) share one SQLite transaction, committed to the write-ahead log with a
// full flush when the outermost group ends. So what one piece of module code writes in one
// go — a list's count and its entries — reaches the file together or not at all, and a
// crash, a kill or a power cut after the commit loses nothing. Outside a group every write
// is its own transaction. Any value is stored as given, 0 and the empty text included;
// interpreting a stored 0 is the module's business. Keys and texts are UTF-16, compared
// exactly. Integers and texts are separate name spaces. Costs: one statement per write and
// one flush per group (about 0.25 ms here); the files grow in 256 KiB steps, since a flush
// that must also record a new file size costs about ten times as much; the connection
// stays open.
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
  [[nodiscard]] bool SetInt(sys::TextView key, std::int32_t value);
  [[nodiscard]] bool SetString(sys::TextView key, sys::TextView value);

  // Groups nest; the transaction opens at the first write inside the outermost group and
  // commits when it ends. CommitPending commits what the open group has written so far
  // (the host calls it when its event loop waits, so a modal dialog that stays open keeps
  // nothing uncommitted). A failed commit is rolled back and reported on standard error.
  void BeginGroup() { ++groupDepth_; }
  void EndGroup();
  void CommitPending();

  const std::string& path() const { return path_; }

 private:
  ProfileStore(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  [[nodiscard]] bool Write(const char* sql, sys::TextView key, const void* bindValue, bool isText);

  sqlite3* db_;
  std::string path_;
  int groupDepth_ = 0;
  bool inTransaction_ = false;
};

// Opens a write group on `store` (may be null) for its lifetime.
class ProfileWriteGroup {
 public:
  explicit ProfileWriteGroup(ProfileStore* store) : store_(store) {
    if (store_) store_->BeginGroup();
  }
  ~ProfileWriteGroup() {
    if (store_) store_->EndGroup();
  }
  ProfileWriteGroup(const ProfileWriteGroup&) = delete;
  ProfileWriteGroup& operator=(const ProfileWriteGroup&) = delete;

 private:
  ProfileStore* store_;
};

// $XDG_CONFIG_HOME/lortan/profile.db, or ~/.config/lortan/profile.db without it.
std::string DefaultProfilePath();
