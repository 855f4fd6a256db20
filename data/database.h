// database.h: the thin layer through which every query of the host database passes.
//
// The process-wide holder of the database location, a connection that lives for one user
// operation (opened with foreign keys on and the Unicode SQL functions registered), an
// owned statement, preparation from printf-style UTF-16 SQL, binding of the one parameter
// at index 1, and stepping that hands each row to a function as typed arguments. Every
// SQLite failure is a DataBase::SqlException. Nothing is cached; a row costs one call of
// the row function plus one copy per text column.
//
// Typical use:
//   DataBase::Connection db(DataBaseConnectionBase::instance().location());
//   DataBase::Statement query;
//   DataBase::prepare(db, query, u"SELECT id, name, value FROM t WHERE id = ?");
//   DataBase::bind(query, id);
//   DataBase::forEachRow(query, [&](std::int32_t id, sys::Text name, double value) {...},
//                        DataBase::IdColumn{0});
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/sys/format.h"
#include "platform/sys/text.h"

// The location of the host database for the whole process, as the host reported it.
class DataBaseConnectionBase {
 public:
  virtual ~DataBaseConnectionBase();

  // The one instance, created on first use under a process-wide lock; it starts with no
  // location and lives until the module is unloaded.
  static DataBaseConnectionBase& instance();

  // Replaces the stored location by a copy of `location`, used later exactly as given.
  void setLocation(sys::TextView location);
  // The stored location; empty until one was set.
  const sys::Text& location() const { return location_; }

 private:
  DataBaseConnectionBase() = default;
  sys::Text location_;
};

namespace DataBase {

// A SQLite failure: what() is SQLite's message (UTF-8), `code` the result code that
// failed, `sql` the UTF-8 text of the statement involved, empty when there was none yet.
class SqlException : public std::runtime_error {
 public:
  SqlException(const std::string& message, std::string sqlText, std::int32_t resultCode)
      : std::runtime_error(message), code(resultCode), sql(std::move(sqlText)) {}

  std::int32_t code;
  std::string sql;
};

// How long a statement waits for another connection's lock before it fails with
// SQLITE_BUSY ("database is locked").
inline constexpr int kBusyTimeoutMs = 5000;

// One open SQLite connection for one operation; closed by the destructor. Statements
// prepared on it must be finalized (destroyed) before it goes.
class Connection {
 public:
  // Opens `location` (a plain file name, never a URI; empty: a private temporary
  // database; a missing file is created), switches foreign keys on, registers the
  // Unicode SQL functions and waits up to kBusyTimeoutMs for a lock another connection
  // holds. Throws SqlException with the connection's message, empty sql
  // and the failing code; the handle is closed first.
  explicit Connection(const sys::Text& location);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement, owned; finalized by finalize(), by forEachRow or on destruction.
class Statement {
 public:
  Statement() = default;
  ~Statement() { finalize(); }
  Statement(Statement&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return handle_; }
  // Takes ownership of `handle`, finalizing the statement held before.
  void reset(sqlite3_stmt* handle);
  void finalize() { reset(nullptr); }

 private:
  sqlite3_stmt* handle_ = nullptr;
};

// Compiles SQL text (UTF-16) into `statement`, replacing what it held. Throws
// SqlException with the connection's message, empty sql and the failing code.
void prepareText(Connection& connection, Statement& statement, const sys::Text& sql);

// Formats `format` printf-style with `args` (sys::Format) and compiles the result.
template <class... Args>
void prepare(Connection& connection, Statement& statement, sys::TextView format,
             const Args&... args) {
  prepareText(connection, statement, sys::Format(format, args...));
}

// Binds parameter 1: a record identifier as the zero-extended 64-bit value of its 32
// bits, or a name as UTF-16 text up to its first NUL that SQLite copies. Throws
// SqlException with SQLite's text for the code and the statement's SQL.
void bind(Statement& statement, std::uint32_t id);
void bind(Statement& statement, sys::TextView name);

// Which column of a query is its row identifier: NULL there reads as -1 rather than 0.
struct IdColumn {
  int index = -1;  // -1: none
};

namespace detail {

[[noreturn]] void throwStepError(sqlite3_stmt* statement, int code);
void checkColumns(sqlite3_stmt* statement, std::size_t parameters);
sys::Text readText(sqlite3_stmt* statement, int column);

// The parameter types of a row function (a function, function pointer or non-generic
// lambda), decayed, as a tuple.
template <class F>
struct RowParameters : RowParameters<decltype(&F::operator())> {};
template <class R, class... A>
struct RowParameters<R(A...)> {
  using type = std::tuple<std::remove_cvref_t<A>...>;
};
template <class R, class... A>
struct RowParameters<R (*)(A...)> : RowParameters<R(A...)> {};
template <class R, class... A>
struct RowParameters<R (*)(A...) noexcept> : RowParameters<R(A...)> {};
template <class C, class R, class... A>
struct RowParameters<R (C::*)(A...)> : RowParameters<R(A...)> {};
template <class C, class R, class... A>
struct RowParameters<R (C::*)(A...) const> : RowParameters<R(A...)> {};
template <class C, class R, class... A>
struct RowParameters<R (C::*)(A...) noexcept> : RowParameters<R(A...)> {};
template <class C, class R, class... A>
struct RowParameters<R (C::*)(A...) const noexcept> : RowParameters<R(A...)> {};

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

// Column `column` of the current row as T: integers through sqlite3_column_int64
// (narrowed), floating point through sqlite3_column_double, sys::Text copied from
// sqlite3_column_text16. NULL reads as 0, 0.0, empty text, or -1 in the identifier column;
// std::optional of any of these reads NULL as std::nullopt instead.
template <class T>
T readColumn(sqlite3_stmt* statement, int column, IdColumn id) {
  const bool isNull = sqlite3_column_type(statement, column) == SQLITE_NULL;
  if constexpr (IsOptional<T>::value) {
    if (isNull) return std::nullopt;
    return readColumn<typename T::value_type>(statement, column, id);
  } else if constexpr (std::is_same_v<T, sys::Text>) {
    return isNull ? sys::Text() : readText(statement, column);
  } else if constexpr (std::is_floating_point_v<T>) {
    return isNull ? T(0) : static_cast<T>(sqlite3_column_double(statement, column));
  } else if constexpr (std::is_integral_v<T>) {
    if (isNull) return static_cast<T>(column == id.index ? -1 : 0);
    return static_cast<T>(sqlite3_column_int64(statement, column));
  } else {
    static_assert(sizeof(T) == 0, "row function parameters: integers, floating point, sys::Text, std::optional");
  }
}

template <class Columns, class RowFunction, std::size_t... I>
void callWithRow(RowFunction& rowFunction, sqlite3_stmt* statement, IdColumn id,
                 std::index_sequence<I...>) {
  rowFunction(readColumn<std::tuple_element_t<I, Columns>>(statement, static_cast<int>(I), id)...);
}

}  // namespace detail

// Steps `statement` to the end, calling `rowFunction` once per row with column i read by
// the type of its i-th parameter (see readColumn). The statement is finalized on every way out. Throws
// SqlException when a step gives anything but a row or the end (what() is SQLite's text
// for the code, sql the statement's text), or when the function wants more columns than
// the query has (SQLITE_RANGE). Whatever the row function throws passes through.
template <class RowFunction>
void forEachRow(Statement& statement, RowFunction&& rowFunction, IdColumn id = {}) {
  using Columns = typename detail::RowParameters<std::remove_cvref_t<RowFunction>>::type;
  struct FinalizeOnExit {
    Statement& statement;
    ~FinalizeOnExit() { statement.finalize(); }
  } finalizeOnExit{statement};
  sqlite3_stmt* handle = statement.get();
  detail::checkColumns(handle, std::tuple_size_v<Columns>);
  for (;;) {
    const int rc = sqlite3_step(handle);
    if (rc == SQLITE_DONE) return;
    if (rc != SQLITE_ROW) detail::throwStepError(handle, rc);
    detail::callWithRow<Columns>(rowFunction, handle, id,
                                 std::make_index_sequence<std::tuple_size_v<Columns>>());
  }
}

}  // namespace DataBase
