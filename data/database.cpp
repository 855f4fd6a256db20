// database.cpp: the database location holder, connections, statements and the error
// paths of the database access layer.
//
// Assumes SQLite's 16-bit interfaces take sys::Text as it is (native-order UTF-16). Each
// call here is one or two SQLite calls; errors allocate the exception's strings.
#include "data/database.h"

#include <memory>
#include <mutex>

#include "data/unicode_sql.h"

namespace {

std::mutex g_baseLock;
std::unique_ptr<DataBaseConnectionBase> g_base;

// The name to hand sqlite3_open16 for `location`. SQLite may be built (as Debian's is) to
// read names that begin with "file:" as URIs; "./" in front names the same file and is
// never a URI, so such a location opens the file literally named that way.
sys::Text LiteralFileName(const sys::Text& location) {
  if (location.starts_with(u"file:")) return u"./" + location;
  return location;
}

std::string StatementText(sqlite3_stmt* statement) {
  const char* sql = statement != nullptr ? sqlite3_sql(statement) : nullptr;
  return sql != nullptr ? sql : "";
}

// Throws the exception of a failed bind: SQLite's text for the code, the statement.
void CheckBind(sqlite3_stmt* statement, int rc) {
  if (rc != SQLITE_OK) throw DataBase::SqlException(sqlite3_errstr(rc), StatementText(statement), rc);
}

}  // namespace

DataBaseConnectionBase::~DataBaseConnectionBase() = default;

DataBaseConnectionBase& DataBaseConnectionBase::instance() {
  std::lock_guard<std::mutex> lock(g_baseLock);
  if (!g_base) g_base.reset(new DataBaseConnectionBase());
  return *g_base;
}

void DataBaseConnectionBase::setLocation(sys::TextView location) { location_.assign(location); }

namespace DataBase {

Connection::Connection(const sys::Text& location) {
  int rc = sqlite3_open16(LiteralFileName(location).c_str(), &db_);
  if (rc == SQLITE_OK) rc = sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_FKEY, 1, static_cast<int*>(nullptr));
  if (rc == SQLITE_OK) rc = RegisterUnicodeSql(db_);
  // The host writes its database while the module reads it: wait for a writer's lock
  // before a step answers "database is locked".
  if (rc == SQLITE_OK) rc = sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (rc == SQLITE_OK) return;
  // Without a handle (out of memory) sqlite3_errmsg would only say "out of memory".
  std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  sqlite3_close(db_);
  db_ = nullptr;
  throw SqlException(message, "", rc);
}

Connection::~Connection() { sqlite3_close(db_); }

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) reset(std::exchange(other.handle_, nullptr));
  return *this;
}

void Statement::reset(sqlite3_stmt* handle) {
  sqlite3_finalize(std::exchange(handle_, handle));
}

void prepareText(Connection& connection, Statement& statement, const sys::Text& sql) {
  statement.finalize();
  sqlite3_stmt* handle = nullptr;
  const int rc = sqlite3_prepare16_v2(connection.handle(), sql.c_str(), -1, &handle, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(handle);  // null after a failure; kept for safety, a no-op then
    throw SqlException(sqlite3_errmsg(connection.handle()), "", rc);
  }
  statement.reset(handle);
}

void bind(Statement& statement, std::uint32_t id) {
  CheckBind(statement.get(), sqlite3_bind_int64(statement.get(), 1, static_cast<sqlite3_int64>(id)));
}

void bind(Statement& statement, sys::TextView name) {
  // The text ends at its first NUL, as a terminated string handed over with length -1
  // does; the length is given in bytes so that a view needs no terminator.
  const sys::TextView text = name.substr(0, name.find(u'\0'));
  CheckBind(statement.get(), sqlite3_bind_text16(statement.get(), 1, text.data(),
                                                 static_cast<int>(text.size() * 2), SQLITE_TRANSIENT));
}

namespace detail {

void throwStepError(sqlite3_stmt* statement, int code) {
  throw SqlException(sqlite3_errstr(code), StatementText(statement), code);
}

void checkColumns(sqlite3_stmt* statement, std::size_t parameters) {
  // A null statement (SQL with no statement in it) would step to SQLITE_MISUSE anyway.
  if (statement == nullptr) throw SqlException(sqlite3_errstr(SQLITE_MISUSE), "", SQLITE_MISUSE);
  if (parameters > static_cast<std::size_t>(sqlite3_column_count(statement)))
    throw SqlException(sqlite3_errstr(SQLITE_RANGE), StatementText(statement), SQLITE_RANGE);
}

sys::Text readText(sqlite3_stmt* statement, int column) {
  const void* text = sqlite3_column_text16(statement, column);
  if (text == nullptr) throw SqlException(sqlite3_errstr(SQLITE_NOMEM), StatementText(statement), SQLITE_NOMEM);
  const auto units = static_cast<std::size_t>(sqlite3_column_bytes16(statement, column)) / 2;
  sys::Text copy(units, u'\0');
  std::memcpy(copy.data(), text, units * 2);
  return copy;
}

}  // namespace detail
}  // namespace DataBase
