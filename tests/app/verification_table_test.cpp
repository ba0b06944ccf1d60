// SPDX-License-Identifier: GPL-3.0-or-later
// "Проверка архива" in words: the rows of a tape with findings, findings first and notes
// after them, amounts as money from their whole hundredths, and the summary as a sentence.
#include "app/verification_table.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/archive_window_logic.hpp"
#include "archive/arrived_document.hpp"
#include "archive/tape_archive.hpp"
#include "support/generated_tape.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace text::literals;
using testing_support::TempDir;

const archive::ConnectionAnswer kRegister{"4000000001", "3000000001"};

// A row as one line of UTF-8: the note mark, the documents it leads to, then its cells.
std::string row_text(const app::VerificationTable::Row& row) {
  std::string text = std::string(row.note ? "note" : "finding") + " " + std::to_string(row.first_document) + "-" +
                     std::to_string(row.last_document);
  for (const std::string& cell : row.cells) text += " | " + text::to_utf8(cell);
  return text;
}

TEST(VerificationTable, ATapeWithFindingsReadsAsRowsOfWordsFindingsFirst) {
  // Three days of nine documents (a Z-report ends each); document 12, a cash sale of
  // 62.23 in tax group 1 with 7.77 change, is left out of the archive, and document 22's
  // time put before document 21's.
  std::vector<std::string> tape = testing_support::generated_tape({3, 6, 0});
  const std::size_t at = tape[21].find("<TS>20240103");
  ASSERT_NE(at, std::string::npos);
  tape[21].replace(at, 12, "<TS>20240102");
  TempDir dir;
  {
    archive::TapeArchive archive = archive::TapeArchive::open_for_register(dir.file("tape.db"), kRegister);
    for (std::size_t i = 0; i < tape.size(); ++i) {
      if (i == 11) continue;
      const archive::ArrivedDocument arrived =
          archive::ReadArrivedDocument(static_cast<std::int32_t>(i + 1), tape[i], "2026-12-10T06:00:00Z");
      archive.store(arrived.document, arrived.named);
    }
  }
  app::ArchiveWindowLogic logic;
  logic.open(dir.file("tape.db"));
  app::ArchiveFields whole_tape;
  whole_tape.first_number = "1";
  whole_tape.last_number = "27";
  const app::VerificationReport report = logic.verify(std::get<app::ArchiveView>(app::read_view(whole_tape)));
  const app::VerificationTable table = app::verification_table(report);

  std::vector<std::string> rows;
  for (const app::VerificationTable::Row& row : table.rows) rows.push_back(row_text(row));
  const std::vector<std::string> expected = {
      "finding 12-12 | 12 |  | Этого документа нет в архиве: его получит «Пополнить архив» | в архиве | не получен | ",
      "finding 18-18 | 18 | 9 | Продажи по форме оплаты «ГОТІВКА»: Z-отчет не сходится с чеками смены | 99.95 | 37.72 | "
      "-62.23",
      "finding 18-18 | 18 | 9 | Оборот продаж по налоговой группе 1: Z-отчет не сходится с чеками смены | 368.88 | "
      "306.65 | -62.23",
      "finding 18-18 | 18 | 9 | Налог с продаж по налоговой группе 1: Z-отчет не сходится с чеками смены | 61.47 | 51.10 "
      "| -10.37",
      "finding 18-18 | 18 | 9 | Число чеков продажи: Z-отчет не сходится с чеками смены | 4 | 3 | -1",
      "finding 22-22 | 22 |  | Дата и время документа раньше, чем у предыдущего | не раньше 03.01.2024 08:11:00 | "
      "02.01.2024 08:12:00 | ",
      // The notes after every finding, though the verification told this one first.
      "note 9-9 | 9 | 8 | Z-отчет не проверить: в архиве нет Z-отчета перед ним |  |  | ",
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(text::to_utf8(table.summary), "Документов 26, Z-отчетов 3, проверено 2, расхождений 6");
  // What "Сохранить" writes stays the command line's.
  EXPECT_EQ(report.text_lines().back().rfind("summary\tdocuments 26\t", 0), 0u);
}

TEST(VerificationTable, FiguresAreMoneyFromHundredthsRunsAndTimesInWords) {
  struct Case {
    archive::Finding finding;
    const char* expected;
  };
  using Check = archive::Finding::Check;
  using archive::Figure;
  const auto finding = [](Check check, std::int32_t first, std::int32_t last, std::string subject,
                          std::optional<Figure> expected, std::optional<Figure> found) {
    archive::Finding f;
    f.check = check;
    f.first_document = first;
    f.last_document = last;
    f.z_number = 41;
    f.subject = std::move(subject);
    f.expected = std::move(expected);
    f.found = std::move(found);
    return f;
  };
  const Case cases[] = {
      // Beyond a single's or a double's exact digits, still to the hundredth.
      {finding(Check::CashIn, 5, 5, std::string("ГОТІВКА"_cp1251), Figure::hundredths(900719925474099312),
               Figure::hundredths(900719925474099313)),
       "5 | 41 | Служебное внесение «ГОТІВКА»: Z-отчет не сходится с чеками смены | 9007199254740993.12 | "
       "9007199254740993.13 | +0.01"},
      {finding(Check::ReturnReceipts, 7, 7, {}, Figure::whole(2), Figure::whole(0)),
       "7 | 41 | Число чеков возврата: Z-отчет не сходится с чеками смены | 2 | 0 | -2"},
      {finding(Check::AbsentOnRegister, 3, 6, {}, Figure::words("held"), Figure::words("absent")),
       "3–6 | 41 | Этих документов нет в РРО, хотя в нем есть более поздние | в архиве | нет в РРО | "},
      {finding(Check::EarlierTime, 8, 8, "2024-05-13 10:00:00", Figure::words("not before 2024-05-13 10:00:00"),
               Figure::words("2024-05-13 09:59:00")),
       "8 | 41 | Дата и время документа раньше, чем у предыдущего | не раньше 13.05.2024 10:00:00 | 13.05.2024 09:59:00 | "},
      {finding(Check::BelowTape, 1, 99, "100", std::nullopt, std::nullopt),
       "1–99 | 41 | Этих документов нет на ленте РРО: она начинается с документа 100 |  |  | "},
      // The file as a whole: no documents to lead to.
      {finding(Check::DamagedFile, 0, 0, "database disk image is malformed", std::nullopt, std::nullopt),
       " | 41 | Файл архива поврежден: database disk image is malformed |  |  | "},
  };
  for (const Case& c : cases) {
    app::VerificationReport report;
    report.findings.push_back({"", static_cast<std::int32_t>(c.finding.first_document),
                               static_cast<std::int32_t>(c.finding.last_document), c.finding});
    const app::VerificationTable table = app::verification_table(report);
    ASSERT_EQ(table.rows.size(), 1u);
    std::string text;
    for (std::size_t i = 0; i < table.rows[0].cells.size(); ++i)
      text += (i == 0 ? "" : " | ") + text::to_utf8(table.rows[0].cells[i]);
    EXPECT_EQ(text, c.expected);
  }
}

}  // namespace
