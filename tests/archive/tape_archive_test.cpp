// SPDX-License-Identifier: GPL-3.0-or-later
// The tape archive as a file: what it refuses to open, what it refuses to store, what a
// process killed in the middle of a write leaves, and the order a selection reads.
#include "archive/tape_archive.hpp"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <direct.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/arrived_document.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "support/temp_dir.hpp"

namespace {

using archive::ArchiveError;
using archive::ArchiveSelection;
using archive::ConnectionAnswer;
using archive::RegisterIdentity;
using archive::TapeArchive;
using testing_support::TempDir;
using testing_support::write_file;

// The connection check spells the numbers otherwise than the tape does.
const ConnectionAnswer kAnswer{"SN4000000001", "FN3000000001"};
const RegisterIdentity kRegister{"4000000001", "3000000001", "17"};

archive::ArchivedDocument receipt(std::int32_t number) {
  archive::ArchivedDocument d;
  d.number = number;
  d.timestamp = "20240513090000";
  d.text = "<DAT ZN=\"4000000001\"/><MAC/>";
  d.fetched_at = "2026-12-10T01:00:00Z";
  return d;
}

std::vector<std::int32_t> numbers_of(const TapeArchive& archive, const ArchiveSelection& selection) {
  std::vector<std::int32_t> numbers;
  archive.visit(selection, [&](const archive::ArchivedDocument& d) { numbers.push_back(static_cast<std::int32_t>(d.number)); });
  return numbers;
}

// The error text of opening path, or "" when it opened.
std::string refusal_of_opening(const std::string& path) {
  try {
    TapeArchive::open_existing(path);
    return "";
  } catch (const ArchiveError& e) {
    return e.what();
  }
}

TEST(TapeArchive, RefusesFilesThatAreNoArchiveOfThisProgram) {
  TempDir dir;
  write_file(dir.file("temp.xml"), "<?xml version=\"1.0\"?><RQ V=\"1\"></RQ>\r\n");
  {
    archive::Database other(dir.file("other.db"), archive::Database::Mode::ReadWriteCreate);
    other.execute("CREATE TABLE document (number INTEGER)");
  }
  TapeArchive::open_for_register(dir.file("later.db"), kAnswer);
  {
    archive::Database later(dir.file("later.db"), archive::Database::Mode::ReadWriteCreate);
    later.execute("PRAGMA user_version = " + std::to_string(archive::kSchemaVersion + 1));
  }
  const struct {
    std::string file;
    std::string refusal;
  } cases[] = {
      {"missing.db", "cannot open"},
      {"temp.xml", "is not a Talqen archive"},
      {"other.db", "is not a Talqen archive"},
      {"later.db", "was written by a later Talqen"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(refusal_of_opening(dir.file(c.file)).find(c.refusal), std::string::npos)
        << c.file << ": " << refusal_of_opening(dir.file(c.file));
    // A missing file is where a new archive is begun; any other is never taken over.
    if (c.file != "missing.db") {
      EXPECT_THROW(TapeArchive::open_for_register(dir.file(c.file), kAnswer), ArchiveError) << c.file;
    }
  }
  // Another program's database was refused before anything in it changed.
  const archive::Database other(dir.file("other.db"), archive::Database::Mode::ReadOnly);
  archive::Statement mode = other.prepare("PRAGMA journal_mode");
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "delete");
}

TEST(TapeArchive, KnowsItsRegisterByTheTapeAndTheAnswerOnlyByItself) {
  TempDir dir;
  const std::string path = dir.file("archive.db");
  // A Quendar register's answer gives no fiscal number.
  TapeArchive archive = TapeArchive::open_for_register(path, {kAnswer.factory_number, ""});
  const struct {
    const char* what;
    RegisterIdentity named;
    bool stored;
  } cases[] = {
      {"the first document: its numbers become the archive's", kRegister, true},
      {"another factory number", {"4000000002", "3000000001", "17"}, false},
      {"another fiscal number", {"4000000001", "3000000002", "17"}, false},
      {"no ZN or FN at all", {"", "", ""}, true},
  };
  std::int32_t number = 1;
  for (const auto& c : cases) {
    if (c.stored) {
      EXPECT_NO_THROW(archive.store(receipt(number), c.named)) << c.what;
    } else {
      EXPECT_THROW(archive.store(receipt(number), c.named), ArchiveError) << c.what;
    }
    EXPECT_EQ(archive.held_count(number, number), c.stored ? 1 : 0) << c.what;
    ++number;
  }
  EXPECT_EQ(archive.identity().serial, kRegister.serial);
  EXPECT_EQ(archive.identity().fiscal_number, kRegister.fiscal_number);
  EXPECT_EQ(archive.identity().till_number, kRegister.till_number);
  // A later run is refused when the register answers otherwise than the stored answer.
  EXPECT_THROW(TapeArchive::open_for_register(path, {"SN4000000002", ""}), ArchiveError);
  EXPECT_THROW(TapeArchive::open_for_register(path, {kRegister.serial, ""}), ArchiveError);
  EXPECT_NO_THROW(TapeArchive::open_for_register(path, kAnswer));
  EXPECT_THROW(TapeArchive::open_for_register(path, {kAnswer.factory_number, "FN3000000002"}), ArchiveError);
  EXPECT_EQ(TapeArchive::open_existing(path).connection_answer().fiscal_number, kAnswer.fiscal_number);
}

// An archive written before the tape named its register: the connection check's numbers
// as its identity, user_version 1.
void write_schema_1_archive(const std::string& path, const std::vector<archive::ArchivedDocument>& documents) {
  archive::Database db(path, archive::Database::Mode::ReadWriteCreate);
  db.execute(R"(PRAGMA journal_mode = WAL;
CREATE TABLE register_identity (id INTEGER PRIMARY KEY CHECK (id = 1), serial TEXT NOT NULL,
  fiscal_number TEXT NOT NULL, begun_at TEXT NOT NULL);
CREATE TABLE document (number INTEGER PRIMARY KEY, kind TEXT NOT NULL CHECK (kind IN ('receipt', 'z-report')),
  timestamp TEXT NOT NULL, z_number INTEGER, text BLOB NOT NULL, fetched_at TEXT NOT NULL);
CREATE INDEX document_by_z_number ON document (z_number);
CREATE INDEX document_by_timestamp ON document (timestamp);
CREATE TABLE absent (number INTEGER PRIMARY KEY, checked_at TEXT NOT NULL);
INSERT INTO register_identity VALUES (1, '4000000001', '3000000001', '2026-01-01T00:00:00Z');
INSERT INTO absent VALUES (9, '2026-01-01T00:00:00Z');
PRAGMA application_id = 1416393070; PRAGMA user_version = 1;)");
  archive::Statement insert = db.prepare("INSERT INTO document VALUES (?1, 'receipt', ?2, NULL, ?3, ?4)");
  for (const archive::ArchivedDocument& d : documents) {
    insert.bind(1, std::int64_t{d.number});
    insert.bind(2, d.timestamp);
    insert.bind_blob(3, d.text);
    insert.bind(4, d.fetched_at);
    insert.run();
  }
}

TEST(TapeArchive, AnArchiveOfTheFirstSchemaIsBroughtUpToDateLosingNothing) {
  std::vector<archive::ArchivedDocument> documents;
  for (std::int32_t n = 1; n <= 3; ++n) documents.push_back(receipt(n));
  documents[0].text = "<DAT V=\"1\"/><MAC/>";  // names no register
  documents[1].text = "<DAT ZN=\"4000000001\" TN=\"17\"/><MAC/>";
  documents[2].text = "<DAT ZN=\"4000000001\" FN=\"3000000001\"/><MAC/>";
  for (const bool by_export : {false, true}) {
    TempDir dir;
    const std::string path = dir.file("old.db");
    write_schema_1_archive(path, documents);
    std::vector<std::string> texts;
    {
      const ConnectionAnswer old_answer{"4000000001", "3000000001"};
      TapeArchive archive = by_export ? TapeArchive::open_existing(path) : TapeArchive::open_for_register(path, old_answer);
      archive.visit({}, [&](const archive::ArchivedDocument& d) { texts.push_back(d.text); });
      EXPECT_EQ(archive.identity().serial, "4000000001") << by_export;
      EXPECT_EQ(archive.identity().fiscal_number, "3000000001") << by_export;
      EXPECT_EQ(archive.identity().till_number, "17") << by_export;
      EXPECT_EQ(archive.absent_count(1, 10), 1);
    }
    ASSERT_EQ(texts.size(), documents.size());
    for (std::size_t k = 0; k < texts.size(); ++k) EXPECT_EQ(texts[k], documents[k].text);
    const archive::Database db(path, archive::Database::Mode::ReadOnly);
    EXPECT_EQ(db.single_integer("PRAGMA user_version"), archive::kSchemaVersion);
    // The answer the old archive was begun with is what a later run is checked against.
    EXPECT_NO_THROW(TapeArchive::open_for_register(path, {"4000000001", ""}));
    EXPECT_THROW(TapeArchive::open_for_register(path, kAnswer), ArchiveError);
  }
}

#ifndef _WIN32
TEST(TapeArchive, AProcessKilledInTheMiddleOfAWriteLosesOnlyThatWrite) {
  TempDir dir;
  const std::string path = dir.file("archive.db");
  TapeArchive::open_for_register(path, kAnswer);
  const pid_t child = ::fork();
  if (child == 0) {
    TapeArchive archive = TapeArchive::open_for_register(path, kAnswer);
    archive.store(receipt(1), kRegister);
    archive::Database db(path, archive::Database::Mode::ReadWriteCreate);
    db.execute("BEGIN IMMEDIATE; INSERT INTO document VALUES (2, 'receipt', '', NULL, x'00', ''); INSERT INTO absent VALUES (3, '')");
    ::_exit(0);  // as a SIGKILL would end it: no commit, no close
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  TapeArchive archive = TapeArchive::open_for_register(path, kAnswer);
  EXPECT_EQ(numbers_of(archive, {}), std::vector<std::int32_t>{1});
  EXPECT_EQ(archive.first_missing(1, 10), 2);
  archive.store(receipt(2), kRegister);
  EXPECT_EQ(numbers_of(TapeArchive::open_existing(path), {}), (std::vector<std::int32_t>{1, 2}));
}
#endif

// A folder named in the system's own narrow encoding (on Windows the ANSI code page, where
// a Cyrillic user name lands in every program folder) holds the archive, not a file of
// another name.
TEST(TapeArchive, LivesWhereTheSystemsOwnPathNamesIt) {
  TempDir dir;
  const std::string folder = dir.file("\xC0\xF0\xF5\xE8\xE2");
  // Made and looked for as the C library takes a path, as the program's other files are.
#ifdef _WIN32
  ASSERT_EQ(::_mkdir(folder.c_str()), 0);
#else
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
#endif
  const std::string path = folder + "/tape.db";
  TapeArchive::open_for_register(path, kAnswer).store(receipt(1), kRegister);
  std::FILE* found = std::fopen(path.c_str(), "rb");
  EXPECT_NE(found, nullptr);
  if (found != nullptr) std::fclose(found);
  EXPECT_EQ(numbers_of(TapeArchive::open_existing(path), {}), std::vector<std::int32_t>{1});
}

TEST(TapeArchive, AsksOnlyForNumbersNeitherHeldNorAbsent) {
  TempDir dir;
  TapeArchive archive = TapeArchive::open_for_register(dir.file("archive.db"), kAnswer);
  for (std::int32_t n : {1, 2, 5}) archive.store(receipt(n), kRegister);
  archive.store_absent(3, "2026-12-10T01:00:00Z");
  archive.store_absent(7, "2026-12-10T01:00:00Z");
  const struct {
    std::int64_t from, last;
    std::optional<std::int64_t> missing;
  } cases[] = {{1, 10, 4}, {5, 10, 6}, {7, 7, std::nullopt}, {1, 3, std::nullopt}, {8, 9, 8}};
  for (const auto& c : cases) EXPECT_EQ(archive.first_missing(c.from, c.last), c.missing) << c.from << "-" << c.last;
  // A number once absent that turns up is held, not both.
  archive.store(receipt(3), kRegister);
  EXPECT_EQ(archive.absent_count(1, 10), 1);
}

// Where the tape begins: as the register told it, else where the absent numbers from 1 end
// at the lowest document held. Held in an archive of schema 2, which had no word of it.
TEST(TapeArchive, KnowsWhereTheTapeBeginsAsTheRegisterToldItOrAsItsAbsentNumbersSay) {
  const struct {
    const char* what;
    std::vector<std::int32_t> held, absent;
    std::optional<std::int64_t> told;
    std::optional<std::int64_t> begins;
  } cases[] = {
      {"absent from 1 up to the lowest held", {5, 6}, {1, 2, 3, 4}, std::nullopt, 5},
      {"a number below not known absent", {5, 6}, {1, 2, 4}, std::nullopt, std::nullopt},
      {"held from 1", {1, 2}, {}, std::nullopt, std::nullopt},
      {"absent numbers, nothing held", {}, {1, 2}, std::nullopt, std::nullopt},
      {"the register's word goes first", {5, 6}, {1, 2, 3, 4}, 3, 3},
      {"told, nothing held", {}, {}, 4188, 4188},
  };
  for (const auto& c : cases) {
    for (const bool schema_2 : {false, true}) {
      if (schema_2 && c.told) continue;  // schema 2 kept no word of the register
      TempDir dir;
      const std::string path = dir.file("archive.db");
      {
        TapeArchive archive = TapeArchive::open_for_register(path, kAnswer);
        for (const std::int32_t n : c.held) archive.store(receipt(n), kRegister);
        for (const std::int32_t n : c.absent) archive.store_absent(n, "2026-12-10T01:00:00Z");
        if (c.told) archive.store_tape_beginning({*c.told, "2026-12-10T02:00:00Z"});
      }
      if (schema_2) {
        archive::Database db(path, archive::Database::Mode::ReadWriteCreate);
        db.execute("DROP TABLE tape_beginning; PRAGMA user_version = 2;");
      }
      const std::optional<archive::TapeBeginning> beginning = TapeArchive::open_existing(path).tape_beginning();
      EXPECT_EQ(beginning ? std::optional(beginning->first_number) : std::nullopt, c.begins) << c.what << schema_2;
      if (beginning) {
        EXPECT_EQ(beginning->asked_at, c.told ? "2026-12-10T02:00:00Z" : "2026-12-10T01:00:00Z") << c.what;
      }
      if (schema_2) {
        // Upgraded in place, and a fill can keep the register's word there.
        TapeArchive upgraded = TapeArchive::open_for_register(path, kAnswer);
        upgraded.store_tape_beginning({7, "2026-12-10T03:00:00Z"});
        EXPECT_EQ(upgraded.tape_beginning()->first_number, 7) << c.what;
        EXPECT_EQ(upgraded.absent_count(1, 10), static_cast<std::int64_t>(c.absent.size())) << c.what;
      }
    }
  }
}

// Every document of the sample tape, filed as it arrives, read back by each selection in
// the order a fetch of it brings them.
TEST(TapeArchive, SelectionsReadTheSampleTapeInFetchOrder) {
  TempDir dir;
  TapeArchive archive = TapeArchive::open_for_register(dir.file("archive.db"), kAnswer);
  const sim::JournalIndex sample = sim::JournalIndex::from_text(sim::sample_journal_text());
  // Stored from the last to the first: the order of reading must not be the order of storing.
  for (auto d = sample.documents().rbegin(); d != sample.documents().rend(); ++d) {
    const archive::ArrivedDocument arrived =
        archive::ReadArrivedDocument(static_cast<std::int32_t>(d->number), d->bytes, archive::utc_now());
    archive.store(arrived.document, arrived.named);
  }
  using By = ArchiveSelection::By;
  std::vector<std::int32_t> day;  // 14 May 2024
  for (std::int32_t n = 12; n <= 22; ++n) day.push_back(n);
  const struct {
    const char* what;
    ArchiveSelection selection;
    std::vector<std::int32_t> numbers;
  } cases[] = {
      {"numbers", {By::DocumentNumbers, 31, 40, "", ""}, {31, 32, 33}},
      {"Z-reports", {By::ZReportNumbers, 41, 43, "", ""}, {11, 22, 33}},
      {"a day", {By::Dates, 0, 0, "20240514", "20240514"}, day},
      {"a day before the tape", {By::Dates, 0, 0, "20240501", "20240512"}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(numbers_of(archive, c.selection), c.numbers) << c.what;

  std::string joined;
  std::vector<std::int32_t> z_numbers;
  archive.visit({}, [&](const archive::ArchivedDocument& d) {
    joined += d.text + "\r\n";
    if (d.is_z_report) z_numbers.push_back(d.z_number.value_or(0));
  });
  const std::string text = sim::sample_journal_text();
  EXPECT_EQ(joined, text.substr(text.find("<DAT"), text.rfind("</RQ>") - text.find("<DAT")));
  EXPECT_EQ(z_numbers, (std::vector<std::int32_t>{41, 42, 43}));
}

}  // namespace
