// SPDX-License-Identifier: GPL-3.0-or-later
// Archives from elsewhere, damaged or made hostile by hand: talqen-cli export (every form)
// and verify end within a bounded time and disk, fail with a message naming what is
// wrong, and leave an existing output file as it was.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/arrived_document.hpp"
#include "archive/tape_archive.hpp"
#include "fetch_helpers.hpp"

namespace {

using namespace e2e;

// The sample tape as `talqen-cli archive` keeps it.
void write_sample_archive(const std::string& path) {
  archive::TapeArchive tape = archive::TapeArchive::open_for_register(path, {"ПБ4102345678", ""});
  for (const sim::JournalDocument& d : sample().documents()) {
    const archive::ArrivedDocument arrived =
        archive::ReadArrivedDocument(static_cast<std::int32_t>(d.number), d.bytes, "2026-12-10T06:00:00Z");
    tape.store(arrived.document, arrived.named);
  }
}

void run_sql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(code, SQLITE_OK) << (error ? error : "") << "\n" << sql;
  sqlite3_free(error);
  sqlite3_close(db);
}

void change_bytes(const std::string& path, std::uintmax_t keep, bool flip_data_pages) {
  std::string bytes = read_file(path);
  if (flip_data_pages)
    for (std::size_t i = 4096; i < bytes.size(); i += 97) bytes[i] = static_cast<char>(~bytes[i]);
  else
    bytes.resize(static_cast<std::size_t>(keep));
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The document table made again as a hand would, from `columns`; its rows copied.
std::string remade_document_table(const std::string& columns) {
  return "ALTER TABLE document RENAME TO old_document; CREATE TABLE document (" + columns +
         "); INSERT INTO document SELECT * FROM old_document; DROP TABLE old_document;"
         "CREATE INDEX document_by_z_number ON document (z_number);"
         "CREATE INDEX document_by_timestamp ON document (timestamp);";
}

const std::string kColumnsWithoutChecks =
    "number INTEGER PRIMARY KEY, kind TEXT NOT NULL, timestamp TEXT NOT NULL, z_number INTEGER, "
    "text BLOB NOT NULL, fetched_at TEXT NOT NULL";

// talqen-cli in dir with a bound on its time and on the bytes any file may grow to, its
// temporary files kept in dir.
CliOutcome bounded_cli(const TempDir& dir, const std::string& arguments) {
  const std::string where = dir.path().string();
  const auto run = testing_support::run_program("cd " + where + " && SQLITE_TMPDIR=" + where +
                                                " timeout -s KILL 60 sh -c 'ulimit -f 131072 && exec " + TALQEN_CLI +
                                                " " + arguments + "' 2>err.txt");
  return {run.exit_code, run.output, read_file(dir.file("err.txt"))};
}

TEST(HostileArchive, IsRefusedOrReportedInBoundedTimeAndLeavesTheOutputAsItWas) {
  struct Case {
    const char* what;
    std::string sql;  // applied to a copy of the sample archive; empty for a byte change
    std::uintmax_t truncate_to = 0;
    bool flip = false;
    const char* document;  // the document every message names, or none for the file
    // Words every message holds; of a damaged file, SQLite's or ours, whichever comes first.
    std::vector<std::string> named;
  };
  const std::vector<std::string> damaged = {"damaged", "malformed", "cannot be read"};
  const Case cases[] = {
      {"truncated", "", 20000, false, nullptr, damaged},
      {"bytes flipped", "", 0, true, nullptr, damaged},
      {"an endless view in place of the documents",
       "DROP INDEX document_by_z_number; DROP INDEX document_by_timestamp; ALTER TABLE document RENAME TO kept;"
       "CREATE VIEW document AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
       "SELECT i AS number, 'receipt' AS kind, '' AS timestamp, NULL AS z_number, x'00' AS text, "
       "'' AS fetched_at FROM n;",
       0, false, nullptr, {"not a Talqen archive: it holds a view named document"}},
      {"a trigger", "CREATE TRIGGER forget AFTER INSERT ON absent BEGIN DELETE FROM document; END;", 0, false, nullptr,
       {"not a Talqen archive: it holds a trigger named forget"}},
      {"a wrong column type",
       remade_document_table("number INTEGER PRIMARY KEY, kind TEXT NOT NULL, timestamp TEXT NOT NULL, "
                             "z_number INTEGER, text TEXT NOT NULL, fetched_at TEXT NOT NULL"),
       0, false, nullptr, {"column text BLOB NOT NULL expected, column text TEXT NOT NULL found"}},
      {"a text that may be NULL",
       remade_document_table("number INTEGER PRIMARY KEY, kind TEXT NOT NULL, timestamp TEXT NOT NULL, "
                             "z_number INTEGER, text BLOB, fetched_at TEXT NOT NULL") +
           "UPDATE document SET text = NULL WHERE number = 5;",
       0, false, nullptr, {"column text BLOB NOT NULL expected"}},
      {"garbage for a text", "UPDATE document SET text = CAST(x'3c44415420' || randomblob(300) AS BLOB) WHERE number = 5;",
       0, false, "5", {"cannot be read: line "}},  // the random bytes may hold a line feed
      {"an empty text", "UPDATE document SET text = x'' WHERE number = 6;", 0, false, "6", {"it has no text"}},
      {"a text stored as text", "UPDATE document SET text = CAST(text AS TEXT) WHERE number = 8;", 0, false, "8",
       {"its text is stored as text"}},
      {"a number past 32 bits", "UPDATE document SET number = 4294967296 WHERE number = 7;", 0, false, "4294967296",
       {"is no document number a register gives"}},
      {"an unknown kind",
       remade_document_table(kColumnsWithoutChecks) + "UPDATE document SET kind = 'voided' WHERE number = 9;", 0,
       false, "9", {"its kind \"voided\" is neither receipt nor z-report"}},
      {"an oversized text", "UPDATE document SET text = CAST(text || zeroblob(2000000) AS BLOB) WHERE number = 4;", 0,
       false, "4", {"is longer than any document"}},
  };
  const auto names = [](const Case& c, const std::string& message, const std::string& document_as) {
    if (c.document != nullptr && !contains(message, document_as)) return false;
    for (const std::string& words : c.named)
      if (contains(message, words)) return true;
    return false;
  };
  TempDir dir;
  write_sample_archive(dir.file("sample.db"));
  const std::string earlier = "an earlier export, to be kept\n";
  for (const Case& c : cases) {
    const std::string db = dir.file("hostile.db");
    std::filesystem::copy_file(dir.file("sample.db"), db, std::filesystem::copy_options::overwrite_existing);
    if (!c.sql.empty()) run_sql(db, c.sql);
    if (c.truncate_to != 0 || c.flip) change_bytes(db, c.truncate_to, c.flip);
    for (const char* form : {"xml", "text", "csv", "json", "xlsx"}) {
      const std::string out = std::string("out.") + form;
      write_file(dir.file(out), earlier);
      const CliOutcome run = bounded_cli(dir, std::string("export --db hostile.db --format ") + form + " -o " + out);
      EXPECT_NE(run.exit_code, 0) << c.what << " " << form;
      EXPECT_TRUE(names(c, run.err, "document " + std::string(c.document ? c.document : "") + " cannot be read"))
          << c.what << " " << form << ": " << run.err;
      EXPECT_EQ(read_file(dir.file(out)), earlier) << c.what << " " << form;
    }
    const CliOutcome verified = bounded_cli(dir, "verify --db hostile.db");
    EXPECT_NE(verified.exit_code, 0) << c.what;
    EXPECT_TRUE(names(c, verified.out + verified.err, "document " + std::string(c.document ? c.document : "") + "\t"))
        << c.what << ": " << verified.out << verified.err;
    // Nothing the runs left behind but the outputs as they were.
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) bytes += entry.file_size();
    EXPECT_LT(bytes, 64u << 20) << c.what;
  }
}

}  // namespace
