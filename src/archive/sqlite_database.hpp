// SPDX-License-Identifier: GPL-3.0-or-later
// SQLite's C API behind two small owners: a connection and a prepared statement. Every
// failure is thrown as ArchiveError with SQLite's own words, so callers never test codes.
// The only file that includes sqlite3.h is sqlite_database.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "archive/archive_error.hpp"

struct sqlite3;
struct sqlite3_stmt;

namespace archive {

class Statement;

// The version of SQLite the program runs with ("3.40.1").
std::string sqlite_version();

class Database {
 public:
  enum class Mode { ReadOnly, ReadWriteCreate };

  // Throws ArchiveError when the file cannot be opened (read-only: when it does not exist).
  Database(const std::string& path, Mode mode);
  ~Database();
  Database(Database&& other) noexcept;
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs statements that return no rows of interest.
  void execute(std::string_view sql);
  Statement prepare(std::string_view sql) const;
  // The first column of the first row of a statement without parameters; nothing when no row.
  std::optional<std::int64_t> single_integer(std::string_view sql) const;

 private:
  friend class Statement;
  [[noreturn]] void fail(std::string_view doing) const;
  bool harden();

  sqlite3* db_ = nullptr;
  std::string path_;
};

class Statement {
 public:
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&&) = delete;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters are numbered from 1, as in the SQL text.
  void bind(int index, std::int64_t value);
  void bind(int index, std::string_view text);  // as TEXT
  void bind_blob(int index, std::string_view bytes);
  void bind_null(int index);

  // The next row: true while there is one. A statement that has returned false is reset
  // and may be bound and stepped again.
  bool step();
  // Steps once, for statements that return no rows, and resets.
  void run();

  // Columns are numbered from 0. Views stay valid until the next step.
  std::int64_t integer(int column) const;
  std::string_view text(int column) const;  // TEXT or BLOB bytes, exactly
  bool is_null(int column) const;

 private:
  friend class Database;
  Statement(const Database& database, sqlite3_stmt* statement) : database_(&database), statement_(statement) {}

  const Database* database_;
  sqlite3_stmt* statement_;
};

}  // namespace archive
