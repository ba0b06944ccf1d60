// The tape archive as a file: what it refuses to open, what it refuses to store, what a
// process killed in the middle of a write leaves, and the order a selection reads.
#include "archive/tape_archive.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "archive/arrived_document.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "support/temp_dir.hpp"

namespace {

using archive::ArchiveError;
using archive::ArchiveSelection;
using archive::RegisterIdentity;
using archive::TapeArchive;
using testing_support::TempDir;
using testing_support::write_file;

const RegisterIdentity kRegister{"4000000001", "3000000001"};

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
  archive.visit(selection, [&](const archive::ArchivedDocument& d) { numbers.push_back(d.number); });
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
  TapeArchive::open_for_register(dir.file("later.db"), kRegister);
  {
    archive::Database later(dir.file("later.db"), archive::Database::Mode::ReadWriteCreate);
    later.execute("PRAGMA user_version = 2");
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
      EXPECT_THROW(TapeArchive::open_for_register(dir.file(c.file), kRegister), ArchiveError) << c.file;
    }
  }
}

TEST(TapeArchive, NeverMixesTwoRegisters) {
  TempDir dir;
  const std::string path = dir.file("archive.db");
  // A Quendar register gives no fiscal number: the first document's becomes the archive's.
  TapeArchive archive = TapeArchive::open_for_register(path, {kRegister.serial, ""});
  const struct {
    const char* what;
    RegisterIdentity named;
    bool stored;
  } cases[] = {
      {"another factory number", {"4000000002", "3000000001"}, false},
      {"the register's own", kRegister, true},
      {"another fiscal number", {"4000000001", "3000000002"}, false},
      {"no ZN or FN at all", {"", ""}, true},
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
  EXPECT_EQ(archive.identity().fiscal_number, kRegister.fiscal_number);
  EXPECT_THROW(TapeArchive::open_for_register(path, {"4000000002", ""}), ArchiveError);
  EXPECT_THROW(TapeArchive::open_for_register(path, {kRegister.serial, "3000000002"}), ArchiveError);
  EXPECT_NO_THROW(TapeArchive::open_for_register(path, kRegister));
}

#ifndef _WIN32
TEST(TapeArchive, AProcessKilledInTheMiddleOfAWriteLosesOnlyThatWrite) {
  TempDir dir;
  const std::string path = dir.file("archive.db");
  TapeArchive::open_for_register(path, kRegister);
  const pid_t child = ::fork();
  if (child == 0) {
    TapeArchive archive = TapeArchive::open_for_register(path, kRegister);
    archive.store(receipt(1), kRegister);
    archive::Database db(path, archive::Database::Mode::ReadWriteCreate);
    db.execute("BEGIN IMMEDIATE; INSERT INTO document VALUES (2, 'receipt', '', NULL, x'00', ''); INSERT INTO absent VALUES (3, '')");
    ::_exit(0);  // as a SIGKILL would end it: no commit, no close
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  TapeArchive archive = TapeArchive::open_for_register(path, kRegister);
  EXPECT_EQ(numbers_of(archive, {}), std::vector<std::int32_t>{1});
  EXPECT_EQ(archive.first_missing(1, 10), 2);
  archive.store(receipt(2), kRegister);
  EXPECT_EQ(numbers_of(TapeArchive::open_existing(path), {}), (std::vector<std::int32_t>{1, 2}));
}
#endif

TEST(TapeArchive, AsksOnlyForNumbersNeitherHeldNorAbsent) {
  TempDir dir;
  TapeArchive archive = TapeArchive::open_for_register(dir.file("archive.db"), kRegister);
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

// Every document of the sample tape, filed as it arrives, read back by each selection in
// the order a fetch of it brings them.
TEST(TapeArchive, SelectionsReadTheSampleTapeInFetchOrder) {
  TempDir dir;
  TapeArchive archive = TapeArchive::open_for_register(dir.file("archive.db"), kRegister);
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
