// SPDX-License-Identifier: GPL-3.0-or-later
// libpq behind a few small owners: a connection, a statement's result, a COPY into a
// table and a transaction. Every failure is thrown as CentralError with the server's own
// words and its SQLSTATE, so callers never test codes but can still tell a database
// without the schema from a role without the right. Parameters and results travel in
// libpq's binary form, so bytes (a document's text) go and come exactly as they are.
// The only file that includes libpq-fe.h is postgres_database.cpp.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace archive {

class CentralError : public std::runtime_error {
 public:
  enum class Cause {
    Refused,      // the server answered, and refused the statement (see sqlstate)
    Unreachable,  // no connection could be made (no server, no route, no such database, refused login)
    Lost,         // the connection broke, or a wait ran out, while it was in use
  };
  CentralError(const std::string& what, Cause cause, std::string sqlstate = {})
      : std::runtime_error(what), cause_(cause), sqlstate_(std::move(sqlstate)) {}
  Cause cause() const { return cause_; }
  // The server's five-character SQLSTATE ("42501"); empty when it sent none.
  const std::string& sqlstate() const { return sqlstate_; }
  // The schema or one of its tables is not there (3F000, 42P01).
  bool no_schema() const { return sqlstate_ == "3F000" || sqlstate_ == "42P01"; }
  // The role may not do this (42501).
  bool permission_denied() const { return sqlstate_ == "42501"; }

 private:
  Cause cause_;
  std::string sqlstate_;
};

// One parameter of a statement: NULL, a value in its text form (numbers, text), or bytes
// that travel as they are (a bytea).
class SqlValue {
 public:
  SqlValue() = default;  // NULL
  SqlValue(std::int64_t number) : value_(std::to_string(number)), null_(false) {}
  SqlValue(int number) : SqlValue(std::int64_t{number}) {}
  SqlValue(std::string_view text) : value_(text), null_(false) {}
  SqlValue(const char* text) : SqlValue(std::string_view(text)) {}
  SqlValue(const std::string& text) : SqlValue(std::string_view(text)) {}
  static SqlValue bytes(std::string_view bytes) {
    SqlValue value(bytes);
    value.binary_ = true;
    return value;
  }

 // The value in its form; nothing for NULL.
  const std::string* value() const { return null_ ? nullptr : &value_; }
  bool binary() const { return binary_; }

 private:
  std::string value_;
  bool null_ = true;
  bool binary_ = false;
};

// The rows of one statement, in binary form.
class PostgresResult {
 public:
  ~PostgresResult();
  PostgresResult(PostgresResult&& other) noexcept;
  PostgresResult& operator=(PostgresResult&&) = delete;
  PostgresResult(const PostgresResult&) = delete;
  PostgresResult& operator=(const PostgresResult&) = delete;

  int rows() const;
  // Rows the statement wrote (INSERT, UPDATE, DELETE, COPY).
  std::int64_t rows_affected() const;
  // The command tag ("INSERT 0 3", "COMMIT").
  std::string command() const;
  bool is_null(int row, int column) const;
  // A smallint, integer or bigint column. Throws CentralError for any other.
  std::int64_t integer(int row, int column) const;
  // A text or bytea column's bytes, exactly; valid while the result lives. Other types
  // come in the server's binary form: cast them to text in the statement.
  std::string_view bytes(int row, int column) const;

 private:
  friend class PostgresConnection;
  explicit PostgresResult(pg_result* result) : result_(result) {}
  pg_result* result_;
};

class PostgresConnection;

// One COPY ... FROM STDIN (FORMAT binary) underway: rows are buffered and sent in pieces;
// one not finished is ended with an error, so the server takes none of its rows.
class CopyIn {
 public:
  ~CopyIn();
  CopyIn(const CopyIn&) = delete;
  CopyIn& operator=(const CopyIn&) = delete;

  // Starts a row of `fields` fields, given next in the table's column order.
  void row(int fields);
  void field(std::int64_t bigint);
  void field_integer(std::int32_t integer);
  void field(std::string_view bytes);  // text or bytea
  void null_field();
  // Sends what is left and ends the COPY; the rows the server took.
  std::int64_t finish();

 private:
  friend class PostgresConnection;
  explicit CopyIn(PostgresConnection& connection);
  void send_if_full();

  PostgresConnection& connection_;
  std::string buffer_;
  bool done_ = false;
};

class PostgresConnection {
 public:
  // Connects with a libpq connection string or URI, extended by libpq's own keywords;
  // keywords come first and the string after, so what it sets wins. Throws CentralError
  // (Unreachable) when no connection can be made. `shown` names the centre in messages.
  PostgresConnection(const std::vector<std::pair<std::string, std::string>>& keywords, const std::string& conninfo,
                     std::string shown);
  ~PostgresConnection();
  PostgresConnection(PostgresConnection&& other) noexcept;
  PostgresConnection& operator=(PostgresConnection&&) = delete;
  PostgresConnection(const PostgresConnection&) = delete;
  PostgresConnection& operator=(const PostgresConnection&) = delete;

  // Statements without parameters (several, separated by semicolons, in one go).
  void execute(std::string_view sql);
  // One statement with $1, $2, ... parameters.
  PostgresResult query(std::string_view sql, std::initializer_list<SqlValue> parameters = {});
  PostgresResult query(std::string_view sql, const std::vector<SqlValue>& parameters);
  // Prepared once under `name`, then run by it with parameters.
  void prepare(const std::string& name, std::string_view sql);
  PostgresResult run_prepared(const std::string& name, const std::vector<SqlValue>& parameters);
  // Starts a COPY ... FROM STDIN (FORMAT binary) statement.
  CopyIn copy_in(std::string_view copy_sql);

  // The value of a server setting (SHOW), e.g. "0" for statement_timeout.
  std::string setting(std::string_view name);
  // The server's version as libpq reports it (150018 for 15.18).
  int server_version() const;
  const std::string& shown() const { return shown_; }

 private:
  PostgresResult checked(pg_result* result, std::string_view doing);
  [[noreturn]] void fail(pg_result* result, std::string_view doing);
  friend class CopyIn;
  void send_copy(std::string_view bytes);
  std::int64_t end_copy(const char* error);

  pg_conn* conn_ = nullptr;
  std::string shown_;
};

// A transaction on a connection, rolled back unless committed (a failure, an exception,
// a return in between).
class PostgresTransaction {
 public:
  explicit PostgresTransaction(PostgresConnection& connection) : connection_(connection) { connection_.execute("BEGIN"); }
  ~PostgresTransaction();
  PostgresTransaction(const PostgresTransaction&) = delete;
  PostgresTransaction& operator=(const PostgresTransaction&) = delete;
  void commit();

 private:
  PostgresConnection& connection_;
  bool done_ = false;
};

// The version of libpq the program runs with ("15.18").
std::string libpq_version();

// The keywords a libpq connection string or URI sets, with their values, as libpq reads
// it; nothing, with libpq's reason in `error`, when it cannot read it.
std::optional<std::map<std::string, std::string>> connection_keywords(const std::string& conninfo, std::string& error);

}  // namespace archive
