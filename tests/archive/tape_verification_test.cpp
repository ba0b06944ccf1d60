// SPDX-License-Identifier: GPL-3.0-or-later
// The verification of an archived tape: a tape that adds up gives nothing, and each kind
// of fault is found and named by its document, its Z-report and its figure.
#include "archive/tape_verification.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "archive/arrived_document.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "support/generated_tape.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace text::literals;
using archive::Finding;
using testing_support::generated_tape;
using testing_support::TempDir;

const archive::ConnectionAnswer kRegister{"4000000001", "3000000001"};

struct Verified {
  std::vector<Finding> findings;  // notes left out
  std::vector<Finding> notes;
  archive::VerificationSummary summary;
};

// The documents stored in an archive (nullopt: left out), absent numbers noted, where the
// register said its tape begins kept, verified.
Verified verify(const std::vector<std::optional<std::string>>& documents, const std::vector<std::int32_t>& absent = {},
                const archive::ArchiveSelection& selection = {}, std::optional<std::int64_t> tape_first = {}) {
  TempDir dir;
  {
    archive::TapeArchive tape = archive::TapeArchive::open_for_register(dir.file("tape.db"), kRegister);
    for (std::size_t i = 0; i < documents.size(); ++i) {
      if (!documents[i]) continue;
      const archive::ArrivedDocument arrived =
          archive::ReadArrivedDocument(static_cast<std::int32_t>(i + 1), *documents[i], "2026-12-10T06:00:00Z");
      tape.store(arrived.document, arrived.named);
    }
    for (std::int32_t n : absent) tape.store_absent(n, "2026-12-10T06:00:00Z");
    if (tape_first) tape.store_tape_beginning({*tape_first, "2026-12-10T06:00:00Z"});
  }
  Verified verified;
  verified.summary = archive::verify_archive(archive::TapeArchive::open_existing(dir.file("tape.db")), selection,
                                             [&](const Finding& f) {
                                               (f.note ? verified.notes : verified.findings).push_back(f);
                                             });
  return verified;
}

std::vector<std::optional<std::string>> stored(const std::vector<std::string>& documents) {
  return {documents.begin(), documents.end()};
}

std::string described(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings)
    text += std::to_string(f.first_document) + "-" + std::to_string(f.last_document) + " Z" +
            (f.z_number ? std::to_string(*f.z_number) : "-") + " " + text::to_utf8(f.what) + " " +
            std::to_string(f.difference().value_or(0)) + "\n";
  return text;
}

// The first occurrence of from in document n replaced.
std::string replaced(std::string document, const std::string& from, const std::string& to) {
  const std::size_t at = document.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) document.replace(at, from.size(), to);
  return document;
}

TEST(TapeVerification, GeneratedTapesThatAddUpGiveNothing) {
  for (const int days : {1, 2, 5}) {
    const std::vector<std::string> tape = generated_tape({days, 6, 0});
    const Verified v = verify(stored(tape));
    EXPECT_EQ(described(v.findings), "") << days;
    EXPECT_EQ(v.summary.documents, static_cast<std::int64_t>(tape.size()));
    EXPECT_EQ(v.summary.z_reports, days);
    // The first shift's start is not in the archive.
    EXPECT_EQ(v.summary.z_reports_checked, days - 1);
  }
  // A selection whose first shift begins after a Z-report the archive holds checks it:
  // one day by its date, or by numbers from inside the day before.
  using By = archive::ArchiveSelection::By;
  for (const archive::ArchiveSelection& selection : {archive::ArchiveSelection{By::Dates, 0, 0, "20240102", "20240102"},
                                                     archive::ArchiveSelection{By::DocumentNumbers, 14, 27, {}, {}}}) {
    const Verified v = verify(stored(generated_tape({3, 6, 0})), {}, selection);
    EXPECT_EQ(described(v.findings), "");
    EXPECT_EQ(v.summary.z_reports, selection.by == By::Dates ? 1 : 2);
    EXPECT_EQ(v.summary.z_reports_checked, v.summary.z_reports);
  }
}

TEST(TapeVerification, EachChangeIsFoundAndNamedByItsDocumentZReportAndFigure) {
  // Days of 9 documents: a deposit, six receipts (the fourth a return, the fifth
  // cancelled, the third and sixth by card), a withdrawal, the Z-report: Z 8 is document
  // 9, Z 9 document 18.
  const std::vector<std::string> tape = generated_tape({3, 6, 0});
  ASSERT_NE(tape[17].find("<Z NO=\"9\""), std::string::npos);
  const std::string& second_day_sale = tape[11];  // document 12: a cash sale of 62.23, one tax group
  struct Case {
    const char* change;
    std::function<void(std::vector<std::optional<std::string>>&, std::vector<std::int32_t>&)> apply;
    std::int32_t document;
    std::optional<std::int64_t> z_number;
    std::string what;
    std::int64_t difference;
  };
  const std::string cash("ГОТІВКА"_cp1251);
  const Case cases[] = {
      {"a receipt left out of the archive", [](auto& d, auto&) { d[11].reset(); }, 12, std::nullopt,
       "not in the archive: archive fetches it", 0},
      {"the same receipt: its Z-report's sales", [](auto& d, auto&) { d[11].reset(); }, 18, 9, "sales " + cash,
       -6223},
      {"an amount changed", [&](auto& d, auto&) { d[11] = replaced(second_day_sale, "SM=\"2074\"", "SM=\"2084\""); },
       18, 9, "turnover of sales, tax group 1", 10},
      {"the change given changed", [&](auto& d, auto&) { d[11] = replaced(second_day_sale, "RM=\"777\"", "RM=\"767\""); },
       18, 9, "sales " + cash, 10},
      {"a cancelled receipt counted", [&](auto& d, auto&) { d[10] = replaced(*d[10], "VD=\"0\"", "VD=\"1\""); }, 18, 9,
       "sale receipts", -1},
      {"a Z number skipped", [&](auto& d, auto&) { d[17] = replaced(*d[17], "<Z NO=\"9\"", "<Z NO=\"10\""); }, 18, 10,
       "Z-report number", 1},
      {"a document dated before its predecessor",
       [&](auto& d, auto&) { d[12] = replaced(*d[12], "<TS>20240102", "<TS>20240101"); }, 13, std::nullopt,
       "date and time before the previous document's", 0},
      {"a hole in the register's numbering",
       [](auto& d, auto& absent) {
         d[11].reset();
         absent.push_back(12);
       },
       12, std::nullopt, "absent on the register, which holds a later document", 0},
  };
  for (const Case& c : cases) {
    std::vector<std::optional<std::string>> documents = stored(tape);
    std::vector<std::int32_t> absent;
    c.apply(documents, absent);
    const Verified v = verify(documents, absent);
    bool found = false;
    for (const Finding& f : v.findings)
      found = found || (f.first_document == c.document && f.z_number == c.z_number && f.what == c.what &&
                        f.difference().value_or(0) == c.difference);
    EXPECT_TRUE(found) << c.change << ":\n" << described(v.findings);
    // Nothing is found in the shifts the change does not touch.
    for (const Finding& f : v.findings) EXPECT_GE(f.first_document, 10) << c.change << ":\n" << described(v.findings);
  }
}

TEST(TapeVerification, AReceiptNumberThatSkipsIsFoundOnceAndMissingDocumentsExplainTheirNumbers) {
  EXPECT_EQ(described(verify(stored(generated_tape({2, 6, 13}))).findings), "13-13 Z- receipt number 1\n");
  // Receipts not fetched may be the numbers between: only the documents themselves are told.
  std::vector<std::optional<std::string>> documents = stored(generated_tape({2, 6, 0}));
  documents[0].reset();
  documents[1].reset();
  documents[2].reset();
  EXPECT_EQ(described(verify(documents, {}, {archive::ArchiveSelection::By::DocumentNumbers, 1, 12, {}, {}}).findings),
            "1-3 Z- not in the archive: archive fetches it 0\n");
}

TEST(TapeVerification, NumbersBelowTheRegistersTapeAreOneNoteNotFindings) {
  // Two days of the generated tape as documents 10 to 27.
  std::vector<std::optional<std::string>> documents(9);
  for (const std::string& d : generated_tape({2, 6, 0})) documents.emplace_back(d);
  std::vector<std::int32_t> below;
  for (std::int32_t n = 1; n <= 9; ++n) below.push_back(n);
  using By = archive::ArchiveSelection::By;
  const struct {
    const char* what;
    archive::ArchiveSelection selection;
    std::vector<std::int32_t> absent;
    std::optional<std::int64_t> told;
    std::int32_t not_fetched;  // a document of the tape left out, or 0
    std::string below_note;  // "first-last" of the note, or empty: none
    std::string findings;
  } cases[] = {
      {"the whole archive", {}, {}, 10, 0, "1-9", ""},
      {"filled from 1: absent below", {}, below, std::nullopt, 0, "1-9", ""},
      {"told, and absent below", {}, below, 10, 0, "1-9", ""},
      {"a selection reaching below", {By::DocumentNumbers, 5, 27, {}, {}}, {}, 10, 0, "5-9", ""},
      {"a selection on the tape", {By::DocumentNumbers, 12, 27, {}, {}}, {}, 10, 0, "", ""},
      {"a selection past both ends", {By::DocumentNumbers, 1, 30, {}, {}}, {}, 10, 0, "1-9",
       "28-30 Z- not in the archive: archive fetches it 0\n"},
      {"a hole on the tape is still one", {}, {15}, 10, 15, "1-9",
       "15-15 Z- absent on the register, which holds a later document 0\n"},
      {"the tape's first document not fetched", {}, {}, 10, 10, "1-9",
       "10-10 Z- not in the archive: archive fetches it 0\n"},
      // Told after the tape moved on: the documents held show where it reached.
      {"told later than documents held", {}, {}, 20, 15, "1-9", "15-15 Z- not in the archive: archive fetches it 0\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::optional<std::string>> stored_documents = documents;
    if (c.not_fetched > 0) stored_documents[static_cast<std::size_t>(c.not_fetched - 1)].reset();
    const Verified v = verify(stored_documents, c.absent, c.selection, c.told);
    std::string notes;
    for (const Finding& f : v.notes)
      if (f.what == "the register's tape begins at 10" && f.check == Finding::Check::BelowTape && f.subject == "10")
        notes += (notes.empty() ? "" : " ") + std::to_string(f.first_document) + "-" + std::to_string(f.last_document);
    EXPECT_EQ(notes, c.below_note) << c.what;
    // The first finding (a missing receipt's shift adds up otherwise after it), or none.
    const std::string findings = described(v.findings);
    EXPECT_EQ(findings.substr(0, findings.find('\n') + 1), c.findings) << c.what << ":\n" << findings;
  }
}

TEST(TapeVerification, TheSimulatorsSampleTapeAddsUp) {
  const sim::JournalIndex sample = sim::JournalIndex::from_text(sim::sample_journal_text());
  // A Z-report before the first document, so that the first day is checked too.
  std::vector<std::optional<std::string>> documents = {
      "<DAT FN=\"3000000001\" ZN=\"4000000001\" DI=\"0\"><Z NO=\"40\"></Z><TS>20240512210000</TS></DAT><MAC NT=\"1\">QUJD</MAC>"};
  for (const sim::JournalDocument& d : sample.documents()) documents.emplace_back(d.bytes);
  const Verified v = verify(documents);
  EXPECT_EQ(described(v.findings), "");
  EXPECT_EQ(v.summary.z_reports_checked, 3);
}

}  // namespace
