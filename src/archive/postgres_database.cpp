// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/postgres_database.hpp"

#include <libpq-fe.h>

#include <climits>
#include <cstring>
#include <optional>
#include <utility>

namespace archive {

namespace {

// Type oids of the whole-number types, as the server's catalogue fixes them.
constexpr Oid kInt2 = 21, kInt4 = 23, kInt8 = 20;

// A COPY is sent in pieces of about this size: large enough that a batch costs few
// round trips, small enough that one piece is no burden.
constexpr std::size_t kCopyPiece = 256 * 1024;

// libpq's messages end in a newline and may run over lines ("connection to server ...
// failed: ...\n\tIs the server running ...").
std::string one_line(const char* message) {
  std::string line;
  for (const char* c = message ? message : ""; *c; ++c) {
    if (*c == '\n' || *c == '\r' || *c == '\t') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += *c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

void put_big_endian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

int length_of(std::string_view bytes) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) throw CentralError("a value too large to send", CentralError::Cause::Refused);
  return static_cast<int>(bytes.size());
}

// Header of the binary COPY form: signature, no flags, no extension.
constexpr char kCopyHeader[] = "PGCOPY\n\377\r\n\0\0\0\0\0\0\0\0\0";
constexpr std::size_t kCopyHeaderSize = 19;

}  // namespace

std::string libpq_version() {
  const int version = PQlibVersion();
  return std::to_string(version / 10000) + "." + std::to_string(version % 10000);
}

std::optional<std::map<std::string, std::string>> connection_keywords(const std::string& conninfo, std::string& error) {
  char* message = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &message);
  if (!options) {
    error = message ? one_line(message) : "out of memory";
    PQfreemem(message);
    return std::nullopt;
  }
  std::map<std::string, std::string> set;
  for (const PQconninfoOption* option = options; option->keyword; ++option)
    if (option->val) set[option->keyword] = option->val;
  PQconninfoFree(options);
  return set;
}

PostgresResult::~PostgresResult() { PQclear(result_); }

PostgresResult::PostgresResult(PostgresResult&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}

int PostgresResult::rows() const { return PQntuples(result_); }

std::int64_t PostgresResult::rows_affected() const {
  const char* count = PQcmdTuples(result_);
  return count && *count ? std::stoll(count) : 0;
}

std::string PostgresResult::command() const { return PQcmdStatus(result_); }

bool PostgresResult::is_null(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }

std::int64_t PostgresResult::integer(int row, int column) const {
  const Oid type = PQftype(result_, column);
  const int length = PQgetlength(result_, row, column);
  const int expected = type == kInt2 ? 2 : type == kInt4 ? 4 : type == kInt8 ? 8 : 0;
  if (expected == 0 || length != expected)
    throw CentralError(std::string("column ") + PQfname(result_, column) + " is no whole number",
                       CentralError::Cause::Refused);
  const auto* bytes = reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column));
  std::uint64_t value = 0;
  for (int i = 0; i < length; ++i) value = (value << 8) | bytes[i];
  // Sign-extend from the type's width.
  const int shift = 64 - 8 * length;
  return static_cast<std::int64_t>(value << shift) >> shift;
}

std::string_view PostgresResult::bytes(int row, int column) const {
  return {PQgetvalue(result_, row, column), static_cast<std::size_t>(PQgetlength(result_, row, column))};
}

CopyIn::~CopyIn() {
  if (done_) return;
  try {
    connection_.end_copy("the copy was abandoned");
  } catch (const CentralError&) {
    // The transaction it belongs to fails, and is rolled back, all the same.
  }
}

CopyIn::CopyIn(PostgresConnection& connection) : connection_(connection), buffer_(kCopyHeader, kCopyHeaderSize) {}

void CopyIn::row(int fields) {
  send_if_full();
  put_big_endian(buffer_, static_cast<std::uint16_t>(fields), 2);
}

void CopyIn::field(std::int64_t bigint) {
  put_big_endian(buffer_, 8, 4);
  put_big_endian(buffer_, static_cast<std::uint64_t>(bigint), 8);
}

void CopyIn::field_integer(std::int32_t integer) {
  put_big_endian(buffer_, 4, 4);
  put_big_endian(buffer_, static_cast<std::uint32_t>(integer), 4);
}

void CopyIn::field(std::string_view bytes) {
  put_big_endian(buffer_, static_cast<std::uint32_t>(length_of(bytes)), 4);
  buffer_.append(bytes);
}

void CopyIn::null_field() { put_big_endian(buffer_, 0xffffffffu, 4); }

void CopyIn::send_if_full() {
  if (buffer_.size() < kCopyPiece) return;
  connection_.send_copy(buffer_);
  buffer_.clear();
  buffer_.reserve(kCopyPiece + 4096);
}

std::int64_t CopyIn::finish() {
  put_big_endian(buffer_, 0xffff, 2);  // the trailer
  connection_.send_copy(buffer_);
  buffer_.clear();
  done_ = true;
  return connection_.end_copy(nullptr);
}

PostgresConnection::PostgresConnection(const std::vector<std::pair<std::string, std::string>>& keywords,
                                       const std::string& conninfo, std::string shown)
    : shown_(std::move(shown)) {
  std::vector<const char*> names, values;
  for (const auto& [name, value] : keywords) {
    names.push_back(name.c_str());
    values.push_back(value.c_str());
  }
  names.push_back("dbname");
  values.push_back(conninfo.c_str());
  names.push_back(nullptr);
  values.push_back(nullptr);
  conn_ = PQconnectdbParams(names.data(), values.data(), 1);
  if (!conn_) throw CentralError("cannot reach " + shown_ + ": out of memory", CentralError::Cause::Unreachable);
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string reason = one_line(PQerrorMessage(conn_));
    PQfinish(conn_);
    conn_ = nullptr;
    throw CentralError("cannot reach " + shown_ + ": " + reason, CentralError::Cause::Unreachable);
  }
  // The server's notices ("relation already exists, skipping") are no business of the
  // terminal's; its errors come as results.
  PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
}

PostgresConnection::~PostgresConnection() { PQfinish(conn_); }

PostgresConnection::PostgresConnection(PostgresConnection&& other) noexcept
    : conn_(std::exchange(other.conn_, nullptr)), shown_(std::move(other.shown_)) {}

void PostgresConnection::fail(pg_result* result, std::string_view doing) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  std::string reason = one_line(primary ? primary : PQerrorMessage(conn_));
  if (const char* detail = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL) : nullptr)
    reason += " (" + one_line(detail) + ")";
  const bool lost = PQstatus(conn_) == CONNECTION_BAD;
  std::string sqlstate = state ? state : "";
  PQclear(result);
  throw CentralError(shown_ + ": " + std::string(doing) + ": " + reason,
                     lost ? CentralError::Cause::Lost : CentralError::Cause::Refused, std::move(sqlstate));
}

PostgresResult PostgresConnection::checked(pg_result* result, std::string_view doing) {
  const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_COPY_IN) fail(result, doing);
  return PostgresResult(result);
}

void PostgresConnection::execute(std::string_view sql) {
  const std::string statements(sql);
  checked(PQexec(conn_, statements.c_str()), "cannot run " + statements.substr(0, 60));
}

PostgresResult PostgresConnection::query(std::string_view sql, std::initializer_list<SqlValue> parameters) {
  return query(sql, std::vector<SqlValue>(parameters));
}

namespace {

// libpq's three arrays of a statement's parameters.
struct ParameterArrays {
  std::vector<const char*> values;
  std::vector<int> lengths, formats;
  explicit ParameterArrays(const std::vector<SqlValue>& parameters) {
    for (const SqlValue& p : parameters) {
      const std::string* value = p.value();
      values.push_back(value ? value->data() : nullptr);
      lengths.push_back(value ? length_of(*value) : 0);
      formats.push_back(p.binary() ? 1 : 0);
    }
  }
  int count() const { return static_cast<int>(values.size()); }
};

}  // namespace

PostgresResult PostgresConnection::query(std::string_view sql, const std::vector<SqlValue>& parameters) {
  const ParameterArrays arrays(parameters);
  const std::string statement(sql);
  return checked(PQexecParams(conn_, statement.c_str(), arrays.count(), nullptr, arrays.values.data(),
                              arrays.lengths.data(), arrays.formats.data(), 1),
                 "cannot run " + statement.substr(0, 60));
}

void PostgresConnection::prepare(const std::string& name, std::string_view sql) {
  const std::string statement(sql);
  checked(PQprepare(conn_, name.c_str(), statement.c_str(), 0, nullptr), "cannot prepare " + statement.substr(0, 60));
}

PostgresResult PostgresConnection::run_prepared(const std::string& name, const std::vector<SqlValue>& parameters) {
  const ParameterArrays arrays(parameters);
  return checked(PQexecPrepared(conn_, name.c_str(), arrays.count(), arrays.values.data(), arrays.lengths.data(),
                                arrays.formats.data(), 1),
                 "cannot run " + name);
}

CopyIn PostgresConnection::copy_in(std::string_view copy_sql) {
  const std::string statement(copy_sql);
  pg_result* result = PQexec(conn_, statement.c_str());
  if (!result || PQresultStatus(result) != PGRES_COPY_IN) fail(result, "cannot start " + statement.substr(0, 60));
  PQclear(result);
  return CopyIn(*this);
}

void PostgresConnection::send_copy(std::string_view bytes) {
  // In blocking mode this waits until libpq has passed the bytes on; the connection's
  // time-outs bound that wait.
  if (PQputCopyData(conn_, bytes.data(), length_of(bytes)) != 1) fail(nullptr, "cannot send the copy");
}

std::int64_t PostgresConnection::end_copy(const char* error) {
  if (PQputCopyEnd(conn_, error) != 1) fail(nullptr, "cannot end the copy");
  std::optional<PostgresResult> outcome;
  std::optional<CentralError> failure;
  // Every result is read, so that the connection is ready for the next statement.
  while (pg_result* result = PQgetResult(conn_)) {
    try {
      outcome.emplace(checked(result, "cannot copy"));
    } catch (const CentralError& e) {
      failure.emplace(e);
    }
  }
  if (failure && error == nullptr) throw *failure;
  return outcome ? outcome->rows_affected() : 0;
}

std::string PostgresConnection::setting(std::string_view name) {
  const PostgresResult result = query("SELECT current_setting($1)", {SqlValue(name)});
  return std::string(result.bytes(0, 0));
}

int PostgresConnection::server_version() const { return PQserverVersion(conn_); }

PostgresTransaction::~PostgresTransaction() {
  if (done_) return;
  try {
    connection_.execute("ROLLBACK");
  } catch (const CentralError&) {
    // A connection that broke has ended the transaction on the server's side.
  }
}

void PostgresTransaction::commit() {
  done_ = true;
  // A transaction that failed ends in ROLLBACK even when asked to commit.
  if (connection_.query("COMMIT").command() != "COMMIT")
    throw CentralError(connection_.shown() + ": the transaction was rolled back", CentralError::Cause::Refused);
}

}  // namespace archive
