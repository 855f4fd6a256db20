// profile_store.cpp: the profile in SQLite (see profile_store.h).
#include "host/profile_store.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS profile_int (key TEXT PRIMARY KEY NOT NULL, value INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS profile_text (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL);";

int Bytes(sys::TextView text) { return static_cast<int>(text.size() * sizeof(char16_t)); }

// A prepared statement finalized on every way out.
struct Statement {
  sqlite3_stmt* handle = nullptr;
  ~Statement() { sqlite3_finalize(handle); }
};

}  // namespace

std::string DefaultProfilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (config && *config == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home && *home ? home : ".") / ".config";
  }
  return (base / "lortan" / "profile.db").string();
}

std::unique_ptr<ProfileStore> ProfileStore::Open(const std::string& path, std::string& error) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = "cannot create " + folder.string() + ": " + ec.message();
    return nullptr;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  int chunk = 256 << 10;  // see the head of profile_store.h
  sqlite3_file_control(db, "main", SQLITE_FCNTL_CHUNK_SIZE, &chunk);
  char* message = nullptr;
  if (sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL;", nullptr, nullptr, &message) !=
          SQLITE_OK ||
      sqlite3_exec(db, kSchema, nullptr, nullptr, &message) != SQLITE_OK) {
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    sqlite3_close(db);
    return nullptr;
  }
  return std::unique_ptr<ProfileStore>(new ProfileStore(db, path));
}

ProfileStore::~ProfileStore() {
  CommitPending();
  sqlite3_close(db_);
}

void ProfileStore::EndGroup() {
  if (groupDepth_ > 0 && --groupDepth_ == 0) CommitPending();
}

void ProfileStore::CommitPending() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  if (sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK) return;
  std::fprintf(stderr, "lortan: the profile %s was not written: %s\n", path_.c_str(), sqlite3_errmsg(db_));
  sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
}

std::optional<std::int32_t> ProfileStore::GetInt(sys::TextView key) {
  Statement s;
  if (sqlite3_prepare_v2(db_, "SELECT value FROM profile_int WHERE key = ?1;", -1, &s.handle, nullptr) != SQLITE_OK ||
      sqlite3_bind_text16(s.handle, 1, key.data(), Bytes(key), SQLITE_TRANSIENT) != SQLITE_OK ||
      sqlite3_step(s.handle) != SQLITE_ROW)
    return std::nullopt;
  return static_cast<std::int32_t>(sqlite3_column_int64(s.handle, 0));
}

std::optional<sys::Text> ProfileStore::GetString(sys::TextView key) {
  Statement s;
  if (sqlite3_prepare_v2(db_, "SELECT value FROM profile_text WHERE key = ?1;", -1, &s.handle, nullptr) != SQLITE_OK ||
      sqlite3_bind_text16(s.handle, 1, key.data(), Bytes(key), SQLITE_TRANSIENT) != SQLITE_OK ||
      sqlite3_step(s.handle) != SQLITE_ROW)
    return std::nullopt;
  const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(s.handle, 0));
  const int bytes = sqlite3_column_bytes16(s.handle, 0);
  return text ? sys::Text(text, static_cast<std::size_t>(bytes) / sizeof(char16_t)) : sys::Text();
}

bool ProfileStore::SetInt(sys::TextView key, std::int32_t value) {
  return Write(
      "INSERT INTO profile_int (key, value) VALUES (?1, ?2) "
      "ON CONFLICT (key) DO UPDATE SET value = excluded.value;",
      key, &value, false);
}

bool ProfileStore::SetString(sys::TextView key, sys::TextView value) {
  return Write(
      "INSERT INTO profile_text (key, value) VALUES (?1, ?2) "
      "ON CONFLICT (key) DO UPDATE SET value = excluded.value;",
      key, &value, true);
}

// Inside a group the statement joins the group's transaction (opened here at its first
// write); outside, SQLite runs it as its own transaction and, in WAL mode with synchronous
// FULL, has it on disk when the step returns.
bool ProfileStore::Write(const char* sql, sys::TextView key, const void* bindValue, bool isText) {
  if (groupDepth_ > 0 && !inTransaction_) {
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr) == SQLITE_OK)
      inTransaction_ = true;
    else  // the write still goes through, as its own transaction
      std::fprintf(stderr, "lortan: the profile %s: no transaction: %s\n", path_.c_str(), sqlite3_errmsg(db_));
  }
  Statement s;
  bool ok = sqlite3_prepare_v2(db_, sql, -1, &s.handle, nullptr) == SQLITE_OK &&
            sqlite3_bind_text16(s.handle, 1, key.data(), Bytes(key), SQLITE_TRANSIENT) == SQLITE_OK;
  if (ok && isText) {
    const auto& text = *static_cast<const sys::TextView*>(bindValue);
    // A zero-length text must still bind as text, not NULL: give SQLite a valid pointer.
    ok = sqlite3_bind_text16(s.handle, 2, text.data() ? text.data() : u"", Bytes(text), SQLITE_TRANSIENT) == SQLITE_OK;
  } else if (ok) {
    ok = sqlite3_bind_int64(s.handle, 2, *static_cast<const std::int32_t*>(bindValue)) == SQLITE_OK;
  }
  ok = ok && sqlite3_step(s.handle) == SQLITE_DONE;
  if (!ok) std::fprintf(stderr, "lortan: the profile %s was not written: %s\n", path_.c_str(), sqlite3_errmsg(db_));
  return ok;
}
