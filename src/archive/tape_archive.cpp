// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/tape_archive.hpp"

#include <ctime>
#include <filesystem>

#include "archive/archive_schema.hpp"
#include "archive/arrived_document.hpp"
#include "archive/stored_row.hpp"
#include "journal/journal_errors.hpp"

namespace archive {

namespace {

// PRAGMA application_id of every Talqen archive: "Tlqn".
constexpr std::int64_t kApplicationId = 0x546C716E;

// Each field with its storage type, and the text only when it is short enough to be a
// document's: a longer one is not read at all.
const std::string kColumns =
    "SELECT number, typeof(kind), kind, typeof(timestamp), timestamp, typeof(z_number), z_number, typeof(text), "
    "CASE WHEN typeof(text) = 'blob' THEN length(text) END, "
    "CASE WHEN typeof(text) = 'blob' AND length(text) <= " + std::to_string(kMaxDocumentText) + " THEN text END, "
    "typeof(fetched_at), fetched_at FROM document ";

// The schema that keeps where the register's tape begins (the table tape_beginning).
constexpr int kSchemaWithTapeBeginning = 3;

// Where an archive that keeps no word of the register on it (one of an earlier schema, one
// whose register never told) knows the tape to begin: the register said, number by number
// from 1, that it lacks every number below the lowest one held. The numbering never skips.
constexpr std::string_view kTapeBeginningOfAbsentNumbers = R"(
SELECT lowest.number, (SELECT max(checked_at) FROM absent WHERE number BETWEEN 1 AND lowest.number - 1)
FROM (SELECT min(number) AS number FROM document) AS lowest
WHERE lowest.number > 1
  AND (SELECT count(*) FROM absent WHERE number BETWEEN 1 AND lowest.number - 1) = lowest.number - 1
)";

// A write that either commits whole or leaves the archive as it was.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db) { db_.execute("BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (!done_) {
      try {
        db_.execute("ROLLBACK");
      } catch (const ArchiveError&) {
        // SQLite has rolled back already when the failure was one that ends a transaction.
      }
    }
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit() {
    db_.execute("COMMIT");
    done_ = true;
  }

 private:
  Database& db_;
  bool done_ = false;
};

std::string describe(const RegisterIdentity& identity) {
  std::string text = "register";
  if (!identity.serial.empty()) text += " " + identity.serial;
  if (!identity.fiscal_number.empty()) text += " (fiscal number " + identity.fiscal_number + ")";
  return text;
}

std::string describe(const ConnectionAnswer& answer) {
  std::string text = "register " + answer.factory_number;
  if (!answer.fiscal_number.empty()) text += " (fiscal number " + answer.fiscal_number + ")";
  return text;
}

// Fields left empty on either side contradict nothing.
bool differ(const std::string& held, const std::string& named) {
  return !held.empty() && !named.empty() && held != named;
}

// SQLite's report of a damaged file, which may run over lines, as one line.
std::string one_line(std::string_view report) {
  std::string line;
  for (const char c : report) {
    if (c == '\n' || c == '\r') {
      if (!line.empty() && !line.ends_with("; ")) line += "; ";
    } else {
      line += c;
    }
  }
  while (line.ends_with("; ")) line.resize(line.size() - 2);
  return line;
}

}  // namespace

int TapeArchive::check_schema(const std::string& path) {
  std::int64_t application_id = 0;
  std::int64_t version = 0;
  try {
    application_id = db_.single_integer("PRAGMA application_id").value_or(0);
    version = db_.single_integer("PRAGMA user_version").value_or(0);
  } catch (const ArchiveError& e) {
    if (e.not_a_database()) throw ArchiveError(path + " is not a Talqen archive");
    if (e.damaged()) throw ArchiveError(path + " is damaged: " + e.detail());
    throw;
  }
  if (application_id != kApplicationId || version < 1) throw ArchiveError(path + " is not a Talqen archive");
  if (version > kSchemaVersion)
    throw ArchiveError(path + " was written by a later Talqen (archive schema " + std::to_string(version) +
                       "; this one reads up to " + std::to_string(kSchemaVersion) + ")");
  std::optional<std::string> difference;
  try {
    difference = schema_difference(db_, static_cast<int>(version));
  } catch (const ArchiveError& e) {
    if (e.damaged()) throw ArchiveError(path + " is damaged: " + e.detail());
    throw ArchiveError(path + " is not a Talqen archive: its tables cannot be read (" + e.detail() + ")");
  }
  if (difference) throw ArchiveError(path + " is not a Talqen archive: " + *difference);
  return static_cast<int>(version);
}

std::optional<std::string> TapeArchive::damage(const std::string& path) {
  try {
    Database db(path, Database::Mode::ReadOnly);
    Statement check = db.prepare("PRAGMA quick_check(1)");
    if (!check.step() || check.text(0) == "ok") return std::nullopt;
    return one_line(check.text(0));
  } catch (const ArchiveError& e) {
    // No database at all, or one that cannot be opened, is for open_existing to refuse.
    if (e.not_a_database() || e.cannot_open()) return std::nullopt;
    return one_line(e.detail().empty() ? e.what() : e.detail());
  }
}

TapeArchive TapeArchive::open_existing(const std::string& path) {
  TapeArchive archive(Database(path, Database::Mode::ReadOnly));
  archive.schema_ = archive.check_schema(path);
  if (archive.schema_ < kSchemaVersion) {
    // Brought up to date in place when the file may be written; otherwise read as it is.
    try {
      archive.db_.execute("PRAGMA query_only = OFF");
      archive.upgrade();
    } catch (const ArchiveError&) {
    }
    archive.db_.execute("PRAGMA query_only = ON");
  }
  return archive;
}

TapeArchive TapeArchive::open_unchanged(const std::string& path) {
  TapeArchive archive(Database(path, Database::Mode::ReadOnly));
  archive.schema_ = archive.check_schema(path);
  return archive;
}

TapeArchive TapeArchive::open_for_register(const std::string& path, const ConnectionAnswer& answer) {
  TapeArchive archive(Database(path, Database::Mode::ReadWriteCreate));
  Database& db = archive.db_;
  bool fresh = false;
  try {
    fresh = db.single_integer("PRAGMA application_id").value_or(0) == 0 &&
            db.single_integer("SELECT count(*) FROM sqlite_schema").value_or(0) == 0;
  } catch (const ArchiveError& e) {
    if (e.not_a_database()) throw ArchiveError(path + " is not a Talqen archive");
    throw;
  }
  // Another program's file is refused before anything in it changes.
  const int schema = fresh ? kSchemaVersion : archive.check_schema(path);
  // The log is kept beside the file, and every commit reaches the disk before it counts.
  db.execute("PRAGMA journal_mode = WAL");
  db.execute("PRAGMA synchronous = FULL");
  archive.schema_ = schema;
  if (fresh) archive.create_schema(answer);
  if (schema < kSchemaVersion) archive.upgrade();

  const ConnectionAnswer held = archive.connection_answer();
  if (held.factory_number != answer.factory_number || differ(held.fiscal_number, answer.fiscal_number))
    throw ArchiveError(path + " is the archive of " + describe(held) + ", as it answered the connection check, not of " +
                       describe(answer));
  if (held.fiscal_number.empty() && !answer.fiscal_number.empty()) {
    Statement update = db.prepare("UPDATE register_identity SET answer_fiscal_number = ?1");
    update.bind(1, answer.fiscal_number);
    update.run();
  }
  return archive;
}

void TapeArchive::create_schema(const ConnectionAnswer& answer) {
  Transaction transaction(db_);
  db_.execute(schema_statements());
  Statement insert = db_.prepare(
      "INSERT INTO register_identity (id, answer_serial, answer_fiscal_number, begun_at) VALUES (1, ?1, ?2, ?3)");
  insert.bind(1, answer.factory_number);
  insert.bind(2, answer.fiscal_number);
  insert.bind(3, utc_now());
  insert.run();
  db_.execute("PRAGMA application_id = " + std::to_string(kApplicationId));
  db_.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
  transaction.commit();
}

void TapeArchive::upgrade() {
  Transaction transaction(db_);
  for (int from = schema_; from < kSchemaVersion; ++from) {
    db_.execute(upgrade_statements(from));
    // Schema 2 knows its register by the tape: read from the documents schema 1 kept.
    if (from == 1) adopt_identity_of_documents();
  }
  db_.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
  transaction.commit();
  schema_ = kSchemaVersion;
}

void TapeArchive::adopt_identity_of_documents() {
  // Schema 1 stored only documents whose ZN and FN agreed, so the first ones that name
  // each number name the register.
  RegisterIdentity tape;
  Statement documents = db_.prepare("SELECT number, text FROM document ORDER BY number");
  while ((tape.serial.empty() || tape.fiscal_number.empty() || tape.till_number.empty()) && documents.step()) {
    try {
      const RegisterIdentity named = ReadArrivedDocument(static_cast<std::int32_t>(documents.integer(0)),
                                                         std::string(documents.text(1)), "")
                                         .named;
      if (tape.serial.empty()) tape.serial = named.serial;
      if (tape.fiscal_number.empty()) tape.fiscal_number = named.fiscal_number;
      if (tape.till_number.empty()) tape.till_number = named.till_number;
    } catch (const journal::JournalError&) {
      // A text the loader cannot read names nothing; it was stored whole all the same.
    }
  }
  adopt_identity({}, tape);
}

void TapeArchive::adopt_identity(const RegisterIdentity& held, const RegisterIdentity& named) {
  const auto adopt = [&](std::string_view column, const std::string& had, const std::string& value) {
    if (!had.empty() || value.empty()) return;
    Statement update = db_.prepare("UPDATE register_identity SET " + std::string(column) + " = ?1");
    update.bind(1, value);
    update.run();
  };
  adopt("serial", held.serial, named.serial);
  adopt("fiscal_number", held.fiscal_number, named.fiscal_number);
  adopt("till_number", held.till_number, named.till_number);
}

RegisterIdentity TapeArchive::identity() const {
  // An archive of schema 1 knew its register by the connection check alone.
  Statement select = db_.prepare(schema_ == 1
                                     ? "SELECT serial, fiscal_number, '' FROM register_identity WHERE id = 1"
                                     : "SELECT serial, fiscal_number, till_number FROM register_identity WHERE id = 1");
  if (!select.step()) throw ArchiveError("the archive names no register");
  return {std::string(select.text(0)), std::string(select.text(1)), std::string(select.text(2))};
}

ConnectionAnswer TapeArchive::connection_answer() const {
  Statement select = db_.prepare(schema_ == 1 ? "SELECT serial, fiscal_number FROM register_identity WHERE id = 1"
                                              : "SELECT answer_serial, answer_fiscal_number FROM register_identity WHERE id = 1");
  if (!select.step()) throw ArchiveError("the archive names no register");
  return {std::string(select.text(0)), std::string(select.text(1))};
}

void TapeArchive::visit(const ArchiveSelection& selection, const ArchivedDocumentVisitor& visitor) const {
  using By = ArchiveSelection::By;
  std::string sql(kColumns);
  switch (selection.by) {
    case By::Everything: sql += "ORDER BY number"; break;
    case By::DocumentNumbers: sql += "WHERE number BETWEEN ?1 AND ?2 ORDER BY number"; break;
    case By::ZReportNumbers: sql += "WHERE kind = 'z-report' AND z_number BETWEEN ?1 AND ?2 ORDER BY z_number, number"; break;
    // The lower bound alone can use the index; the date is the first 8 characters of the TS.
    case By::Dates: sql += "WHERE timestamp >= ?1 AND substr(timestamp, 1, 8) BETWEEN ?1 AND ?2 ORDER BY number"; break;
  }
  Statement select = db_.prepare(sql);
  if (selection.by == By::DocumentNumbers || selection.by == By::ZReportNumbers) {
    select.bind(1, std::int64_t{selection.first});
    select.bind(2, std::int64_t{selection.last});
  } else if (selection.by == By::Dates) {
    select.bind(1, selection.from_date);
    select.bind(2, selection.to_date);
  }
  const auto text_field = [&](int column) {
    return StoredField<std::string_view>{stored_type_named(select.text(column)), select.text(column + 1)};
  };
  ArchivedDocument document;
  while (select.step()) {
    StoredRow row;
    row.number = select.integer(0);
    row.kind = text_field(1);
    row.timestamp = text_field(3);
    row.z_number = {stored_type_named(select.text(5)), select.integer(6)};
    row.text_type = stored_type_named(select.text(7));
    row.text_size = select.integer(8);
    row.text = select.text(9);
    row.fetched_at = text_field(10);
    read_stored_row(row, document);
    visitor(document);
  }
}

void TapeArchive::visit_absent(const std::function<void(std::int64_t, std::string_view)>& visitor) const {
  Statement select = db_.prepare(
      "SELECT number, CASE WHEN typeof(checked_at) = 'text' THEN checked_at ELSE '' END FROM absent "
      "WHERE number BETWEEN 1 AND ?1 ORDER BY number");
  select.bind(1, kMaxDocumentNumber);
  while (select.step()) visitor(select.integer(0), select.text(1));
}

std::optional<std::int64_t> TapeArchive::first_missing(std::int64_t from, std::int64_t last) const {
  // Both tables in one ordered walk: the numbers known from `from` on, until the first gap.
  Statement known = db_.prepare(
      "SELECT number FROM document WHERE number BETWEEN ?1 AND ?2 "
      "UNION ALL SELECT number FROM absent WHERE number BETWEEN ?1 AND ?2 ORDER BY 1");
  known.bind(1, from);
  known.bind(2, last);
  std::int64_t candidate = from;
  while (candidate <= last && known.step()) {
    const std::int64_t number = known.integer(0);
    if (number > candidate) break;
    if (number == candidate) ++candidate;
  }
  if (candidate > last) return std::nullopt;
  return candidate;
}

std::int64_t TapeArchive::count_between(std::string_view table, std::int64_t first, std::int64_t last) const {
  Statement count = db_.prepare("SELECT count(*) FROM " + std::string(table) + " WHERE number BETWEEN ?1 AND ?2");
  count.bind(1, first);
  count.bind(2, last);
  return count.step() ? count.integer(0) : 0;
}

std::optional<std::int64_t> TapeArchive::lowest_held() const {
  Statement lowest = db_.prepare("SELECT min(number) FROM document WHERE number >= 1");
  if (!lowest.step() || lowest.is_null(0)) return std::nullopt;
  return lowest.integer(0);
}

std::int64_t TapeArchive::held_count(std::int64_t first, std::int64_t last) const {
  return count_between("document", first, last);
}

std::int64_t TapeArchive::absent_count(std::int64_t first, std::int64_t last) const {
  return count_between("absent", first, last);
}

void TapeArchive::store(const ArchivedDocument& document, const RegisterIdentity& named_by_document) {
  Transaction transaction(db_);
  const RegisterIdentity held = identity();
  // A document without ZN or FN names no register, so it contradicts none.
  if (differ(held.serial, named_by_document.serial) || differ(held.fiscal_number, named_by_document.fiscal_number))
    throw ArchiveError("document " + std::to_string(document.number) + " is of " + describe(named_by_document) +
                       ", not of the archive's " + describe(held) + ": not stored");
  adopt_identity(held, named_by_document);
  Statement insert = db_.prepare(
      "INSERT OR IGNORE INTO document (number, kind, timestamp, z_number, text, fetched_at) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  insert.bind(1, std::int64_t{document.number});
  insert.bind(2, document.is_z_report ? std::string_view("z-report") : std::string_view("receipt"));
  insert.bind(3, document.timestamp);
  if (document.z_number)
    insert.bind(4, std::int64_t{*document.z_number});
  else
    insert.bind_null(4);
  insert.bind_blob(5, document.text);
  insert.bind(6, document.fetched_at);
  insert.run();
  Statement forget_absence = db_.prepare("DELETE FROM absent WHERE number = ?1");
  forget_absence.bind(1, std::int64_t{document.number});
  forget_absence.run();
  transaction.commit();
}

void TapeArchive::store_absent(std::int64_t number, const std::string& checked_at) {
  Statement insert = db_.prepare("INSERT OR REPLACE INTO absent (number, checked_at) VALUES (?1, ?2)");
  insert.bind(1, number);
  insert.bind(2, checked_at);
  insert.run();
}

std::optional<TapeBeginning> TapeArchive::tape_beginning() const {
  // A file from elsewhere may hold anything: only a document number is a beginning.
  const auto beginning = [](const Statement& row) -> std::optional<TapeBeginning> {
    if (row.is_null(0) || row.integer(0) < 1 || row.integer(0) > kMaxDocumentNumber) return std::nullopt;
    return TapeBeginning{row.integer(0), std::string(row.text(1))};
  };
  // A file kept from writing at an earlier schema has no such table.
  if (schema_ >= kSchemaWithTapeBeginning) {
    Statement told = db_.prepare(
        "SELECT CASE WHEN typeof(first_number) = 'integer' THEN first_number END, "
        "CASE WHEN typeof(asked_at) = 'text' THEN asked_at ELSE '' END FROM tape_beginning WHERE id = 1");
    if (told.step())
      if (const std::optional<TapeBeginning> said = beginning(told)) return said;
  }
  Statement absent = db_.prepare(kTapeBeginningOfAbsentNumbers);
  if (!absent.step()) return std::nullopt;
  return beginning(absent);
}

void TapeArchive::store_tape_beginning(const TapeBeginning& beginning) {
  Statement insert = db_.prepare("INSERT OR REPLACE INTO tape_beginning (id, first_number, asked_at) VALUES (1, ?1, ?2)");
  insert.bind(1, beginning.first_number);
  insert.bind(2, beginning.asked_at);
  insert.run();
}

std::string utc_now() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &now);
#else
  gmtime_r(&now, &parts);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

std::string default_archive_name(std::string_view serial) {
  std::string name;
  for (const char c : serial) {
    const bool safe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_';
    name += safe ? c : '_';
  }
  return name + ".talqen.db";
}

}  // namespace archive
