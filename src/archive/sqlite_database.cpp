// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/sqlite_database.hpp"

#include <sqlite3.h>

#include <climits>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace archive {

namespace {

// Another process writing the same archive (an export reading it meanwhile never blocks
// a WAL writer) is waited for this long at most.
constexpr int kBusyWaitMs = 5000;

// No value of an archive comes near this: a document's text is a few kilobytes, and
// readers refuse one over kMaxDocumentText before they take it.
constexpr int kMaxValueBytes = 16 * 1024 * 1024;

int length_of(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ArchiveError("a value too large for the archive");
  return static_cast<int>(text.size());
}

// A path comes in the system's narrow encoding, as fopen and std::filesystem take it (on
// Windows the ANSI code page); SQLite takes UTF-8.
#ifdef _WIN32
std::string sqlite_path(const std::string& path) {
  if (path.empty() || path.size() > static_cast<std::size_t>(INT_MAX)) return path;
  const int size = static_cast<int>(path.size());
  const int wide_size = MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
  if (wide_size <= 0) return path;
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), wide_size);
  const int utf8_size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  if (utf8_size <= 0) return path;
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), utf8_size, nullptr, nullptr);
  return utf8;
}
#else
const std::string& sqlite_path(const std::string& path) { return path; }
#endif

}  // namespace

std::string sqlite_version() { return sqlite3_libversion(); }

Database::Database(const std::string& path, Mode mode) : path_(path) {
  // A reader opens the file for writing too, and is then kept from writing: only a
  // connection that may write removes the WAL files when it closes, so a reader opened
  // read-only would leave them beside the archive. A write-protected file still opens.
  const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int code = sqlite3_open_v2(sqlite_path(path).c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (code != SQLITE_OK) {
    const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ArchiveError("cannot open " + path + ": " + reason, ArchiveError::Cause::CannotOpen);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyWaitMs);
  if (!harden()) {
    const std::string reason = sqlite3_errmsg(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ArchiveError("cannot open " + path + ": " + reason);
  }
  if (mode == Mode::ReadOnly && sqlite3_exec(db_, "PRAGMA query_only = ON", nullptr, nullptr, nullptr) != SQLITE_OK) {
    const std::string reason = sqlite3_errmsg(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ArchiveError("cannot open " + path + " for reading: " + reason);
  }
}

// An archive may come from anywhere (another computer, a stick), so every file is opened
// as one from elsewhere: its schema cannot run functions with side effects or touch the
// schema itself, a damaged page is caught where it is read, and no value is taken that
// is larger than anything an archive holds.
bool Database::harden() {
  for (const int option : {SQLITE_DBCONFIG_DEFENSIVE, SQLITE_DBCONFIG_TRUSTED_SCHEMA, SQLITE_DBCONFIG_ENABLE_TRIGGER,
                           SQLITE_DBCONFIG_ENABLE_VIEW}) {
    const int on = option == SQLITE_DBCONFIG_DEFENSIVE ? 1 : 0;
    if (sqlite3_db_config(db_, option, on, nullptr) != SQLITE_OK) return false;
  }
  sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
  return sqlite3_exec(db_, "PRAGMA cell_size_check = ON; PRAGMA mmap_size = 0", nullptr, nullptr, nullptr) == SQLITE_OK;
}

Database::~Database() { sqlite3_close(db_); }

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    sqlite3_close(db_);
    db_ = std::exchange(other.db_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

void Database::fail(std::string_view doing) const {
  const int code = sqlite3_errcode(db_) & 0xff;
  const std::string message = sqlite3_errmsg(db_);
  const ArchiveError::Cause cause = code == SQLITE_NOTADB    ? ArchiveError::Cause::NotADatabase
                                    : code == SQLITE_CORRUPT ? ArchiveError::Cause::Damaged
                                                             : ArchiveError::Cause::Other;
  throw ArchiveError(path_ + ": " + std::string(doing) + ": " + message, cause, message);
}

void Database::execute(std::string_view sql) {
  char* message = nullptr;
  const std::string statements(sql);
  if (sqlite3_exec(db_, statements.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return;
  sqlite3_free(message);  // the same text as sqlite3_errmsg
  fail("cannot run " + statements);
}

Statement Database::prepare(std::string_view sql) const {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), length_of(sql), &statement, nullptr) != SQLITE_OK)
    fail("cannot prepare " + std::string(sql));
  return Statement(*this, statement);
}

std::optional<std::int64_t> Database::single_integer(std::string_view sql) const {
  Statement statement = prepare(sql);
  if (!statement.step()) return std::nullopt;
  return statement.integer(0);
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement::Statement(Statement&& other) noexcept
    : database_(other.database_), statement_(std::exchange(other.statement_, nullptr)) {}

void Statement::bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) database_->fail("cannot bind a number");
}

void Statement::bind(int index, std::string_view text) {
  if (sqlite3_bind_text(statement_, index, text.data(), length_of(text), SQLITE_TRANSIENT) != SQLITE_OK)
    database_->fail("cannot bind a text");
}

void Statement::bind_blob(int index, std::string_view bytes) {
  // A zero-length blob bound from a null pointer would be NULL: the text column must not be.
  if (sqlite3_bind_blob(statement_, index, bytes.empty() ? "" : bytes.data(), length_of(bytes), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    database_->fail("cannot bind bytes");
}

void Statement::bind_null(int index) {
  if (sqlite3_bind_null(statement_, index) != SQLITE_OK) database_->fail("cannot bind a null");
}

bool Statement::step() {
  const int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  sqlite3_reset(statement_);
  if (code != SQLITE_DONE) database_->fail("cannot step");
  return false;
}

void Statement::run() {
  if (step()) sqlite3_reset(statement_);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(statement_, column); }

std::string_view Statement::text(int column) const {
  const void* bytes = sqlite3_column_blob(statement_, column);
  const int size = sqlite3_column_bytes(statement_, column);
  return bytes ? std::string_view(static_cast<const char*>(bytes), static_cast<std::size_t>(size)) : std::string_view();
}

bool Statement::is_null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

}  // namespace archive
