// SPDX-License-Identifier: GPL-3.0-or-later
// A register's tape read from the centre is the tape read from its file: a generated tape
// longer than a page of the centre's reads, with Z-reports more than a page too and their
// numbers out of document order, pushed, then visited by every kind of selection, counted,
// verified; and rows that hold no document, read alike from both.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "archive/arrived_document.hpp"
#include "archive/central_push.hpp"
#include "archive/central_schema.hpp"
#include "archive/central_tape.hpp"
#include "archive/tape_archive.hpp"
#include "archive/tape_verification.hpp"
#include "archive/verification_lines.hpp"
#include "support/generated_tape.hpp"
#include "support/temp_dir.hpp"
#include "support/test_centre.hpp"

namespace {

using archive::ArchiveSelection;
using By = ArchiveSelection::By;

using Row = std::tuple<std::int64_t, bool, std::optional<std::int32_t>, std::string, std::string, std::string, std::string>;

std::vector<Row> rows_of(const archive::TapeStore& store, const ArchiveSelection& selection) {
  std::vector<Row> rows;
  store.visit(selection, [&](const archive::ArchivedDocument& d) {
    rows.emplace_back(d.number, d.is_z_report, d.z_number, d.timestamp, d.text, d.fetched_at, d.unreadable);
  });
  return rows;
}

std::vector<std::string> verified(const archive::TapeStore& store, const ArchiveSelection& selection) {
  std::vector<std::string> lines;
  const archive::VerificationSummary summary =
      archive::verify_archive(store, selection, [&](const archive::Finding& f) { lines.push_back(archive::finding_line(f)); });
  lines.push_back(archive::verification_summary_line(summary));
  return lines;
}

class CentralTape : public testing::Test {
 protected:
  // 150 days of a deposit, a withdrawal and the Z-report: 450 documents, 150 Z-reports.
  // Numbers 1-3 absent, 200-202 left out, where the tape begins told; Z-reports 8 and 9
  // (documents 6 and 9) swapped in the numbering of Z-reports.
  void fill_and_push(const testing_support::TestCentre& centre) {
    {
      archive::TapeArchive tape = archive::TapeArchive::open_for_register(dir.file("tape.db"), {"4000000001", ""});
      std::int32_t number = 3;
      testing_support::GeneratedTape({150, 0, 0}, [&](std::string&& text) {
        ++number;
        if (number >= 200 && number <= 202) return;
        const archive::ArrivedDocument arrived = archive::ReadArrivedDocument(number, std::move(text), "2026-12-10T06:00:00Z");
        tape.store(arrived.document, arrived.named);
      });
      for (std::int64_t n = 1; n <= 3; ++n) tape.store_absent(n, "2026-12-10T05:00:00Z");
      tape.store_tape_beginning({2, "2026-12-10T05:00:01Z"});
    }
    archive::Database(dir.file("tape.db"), archive::Database::Mode::ReadWriteCreate)
        .execute("UPDATE document SET z_number = 17 - z_number WHERE z_number IN (8, 9)");
    database = centre.fresh_database();
    archive::PostgresConnection admin = centre.connect(database);
    archive::initialise_centre(admin);
    const archive::PushReport pushed =
        archive::push_archive(archive::TapeArchive::open_existing(dir.file("tape.db")), admin, "test", {});
    ASSERT_TRUE(pushed.whole());
  }

  testing_support::TempDir dir;
  std::string database;
};

TEST_F(CentralTape, EverySelectionBringsTheFilesRowsInTheFilesOrder) {
  TALQEN_REQUIRE_CENTRE(centre);
  fill_and_push(centre);
  const archive::TapeArchive file = archive::TapeArchive::open_existing(dir.file("tape.db"));
  const archive::CentralTape central(centre.connect(database), "4000000001");

  const ArchiveSelection selections[] = {
      {},
      {By::DocumentNumbers, 1, 2147483647, {}, {}},
      {By::DocumentNumbers, 150, 420, {}, {}},
      {By::ZReportNumbers, 1, 2147483647, {}, {}},
      {By::ZReportNumbers, 8, 140, {}, {}},
      {By::Dates, 0, 0, "20240201", "20240428"},
      {By::Dates, 0, 0, "20240301", "99999999"},
      {By::DocumentNumbers, 500, 600, {}, {}},
  };
  std::size_t rows = 0;
  for (const ArchiveSelection& s : selections) {
    const std::vector<Row> from_file = rows_of(file, s);
    rows += from_file.size();
    EXPECT_EQ(rows_of(central, s), from_file) << static_cast<int>(s.by) << " " << s.first << "-" << s.last << s.from_date;
    EXPECT_EQ(verified(central, s), verified(file, s)) << static_cast<int>(s.by) << " " << s.first << "-" << s.last;
  }
  EXPECT_GT(rows, 1500u);  // pages of the centre's reads, many times over
  EXPECT_EQ(std::get<0>(rows_of(central, {By::ZReportNumbers, 8, 9, {}, {}}).front()), 9);

  EXPECT_EQ(central.identity().serial, file.identity().serial);
  EXPECT_EQ(central.identity().fiscal_number, "3000000001");
  EXPECT_EQ(central.lowest_held(), file.lowest_held());
  EXPECT_EQ(central.tape_beginning()->first_number, file.tape_beginning()->first_number);
  for (const auto& [first, last] : {std::pair{1, 3}, {1, 450}, {3, 200}, {4, 4}})
    EXPECT_EQ(central.absent_count(first, last), file.absent_count(first, last)) << first << "-" << last;
}

TEST_F(CentralTape, RowsThatHoldNoDocumentAreReadAsTheFilesAre) {
  TALQEN_REQUIRE_CENTRE(centre);
  fill_and_push(centre);
  // What the centre's checks keep out, put in by its owner all the same: a text longer
  // than any document, one of no bytes, a moment not of the archive's form.
  archive::PostgresConnection admin = centre.connect(database);
  admin.execute(
      "ALTER TABLE talqen.document DROP CONSTRAINT document_text_check, DROP CONSTRAINT document_fetched_at_check;"
      "UPDATE talqen.document SET text = convert_to(repeat('x', 1048577), 'UTF8') WHERE number = 10;"
      "UPDATE talqen.document SET text = ''::bytea WHERE number = 11;"
      "UPDATE talqen.document SET fetched_at = 'yesterday' WHERE number = 12");
  archive::Database(dir.file("tape.db"), archive::Database::Mode::ReadWriteCreate)
      .execute(
          "UPDATE document SET text = CAST(printf('%.*c', 1048577, 'x') AS BLOB) WHERE number = 10;"
          "UPDATE document SET text = x'' WHERE number = 11;"
          "UPDATE document SET fetched_at = 'yesterday' WHERE number = 12");
  const archive::TapeArchive file = archive::TapeArchive::open_existing(dir.file("tape.db"));
  const archive::CentralTape central(centre.connect(database), "4000000001");

  const ArchiveSelection some = {By::DocumentNumbers, 9, 13, {}, {}};
  const std::vector<Row> from_file = rows_of(file, some);
  ASSERT_EQ(from_file.size(), 5u);
  for (int unreadable : {1, 2, 3}) EXPECT_NE(std::get<6>(from_file[unreadable]), "") << unreadable;
  EXPECT_EQ(rows_of(central, some), from_file);
}

}  // namespace
