// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/z_report_renderer.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "journal/journal_errors.hpp"
#include "render/journal_renderer.hpp"
#include "rendered_journal.hpp"

namespace render {
namespace {

using namespace render_testing;
using Lines = std::vector<std::string>;

Lines zreport(const std::string& z_element) {
  return render_utf8(load_journal(document(z_element, "20140512210500")), DocumentKind::ZReports);
}

// The lines of a report from "ЗАГАЛОМ" up to the date line, which is left out.
Lines report_body(const std::string& z_element) {
  const Lines all = zreport(z_element);
  if (all.size() < 10) return {"<too short>"};
  return Lines(all.begin() + 4, all.end() - 4);
}

const std::string kZeros = "                    0.00      0.00";
const std::string kTaxHeading = "  ------        Податок       Обіг";

TEST(RenderZReport, DailyReportMatchesThePrintedTapeByteForByte) {
  const Lines lines = zreport(
      "<Z NO=\"55\">"
      "<M NM=\"ГОТІВКА\" SMI=\"4995\" SMO=\"1250\"/><M NM=\"КРЕДИТ\" SMI=\"800\" SMO=\"0\"/>"
      "<IO NM=\"ГОТІВКА\" SMI=\"10000\" SMO=\"2000\" SMT=\"11745\"/>"
      "<NC NI=\"12\" NO=\"1\"/>"
      "<TXS TX=\"1\" TS=\"20140512\" TXPR=\"20.00\" TXI=\"808\" TXO=\"208\" DTPR=\"0.00\" DTI=\"0\" DTO=\"0\" "
      "SMI=\"4850\" SMO=\"1250\"/>"
      "<TXS TX=\"2\" TXPR=\"20.00\" TXI=\"150\" DTPR=\"5.00\" DTI=\"45\" DTO=\"0\" SMI=\"945\" SMO=\"0\"/>"
      "</Z>");
  const Lines expected = {
      "          ДП \"Компанія OBRIM\"",
      "                м.Київ",
      "     ЗН 400012345  ФН 3012345678",
      "           Z-звіт N 55",
      "              ЗАГАЛОМ",
      "  ------      Повернення    Продаж",
      padded("  ГОТІВКА          12.50        49.95", 44),
      padded("  КРЕДИТ            0.00         8.00", 43),
      padded("  ВСЬОГО           12.50        57.95", 54),
      "  ------         Видача     Внесок",
      padded("  ГОТІВКА          20.00       100.00", 44),
      padded("  Готівка в касі               117.45", 72),
      kTaxHeading,
      padded("  ДОД. A            8.08        48.50", 43),
      padded("  ДОД. Б            0.45         7.95", 43),
      padded("  ДОД. В            1.50         9.45", 43),
      "  Чеків продажу 12",
      padded("  ВІД. A            0.00        12.50", 43),
      padded("  ВІД. Б            0.00         0.00", 43),
      "  Чеків повернення 1",
      padded("  Податок     від        12.05.2014", 53),
      padded("            ПДВ_A (Вкл) A =    20.00%", 63),
      padded("    Акцизний збір (Вк2) Б =     5.00%", 63),
      padded("            ПДВ_В (Вкл) В =    20.00%", 63),
      padded("                    12.05.2014  21:05", 43),
      "         ФІСКАЛЬНИЙ ЧЕК",
      kSeparator,
      kSeparator,
  };
  EXPECT_EQ(lines, expected);
}

TEST(RenderZReport, ReportWithoutTotalsHasZeroRowsAndNoDate) {
  const Lines lines = zreport("<Z NO=\"7\"/>");
  const Lines expected = {
      "          ДП \"Компанія OBRIM\"",
      "                м.Київ",
      "     ЗН 400012345  ФН 3012345678",
      "           Z-звіт N 7",
      "              ЗАГАЛОМ",
      kTaxHeading,
      kZeros,
      "  Чеків продажу 0",
      kZeros,
      "  Чеків повернення 0",
      "  Податок     від ",
      padded("                    12.05.2014  21:05", 43),
      "         ФІСКАЛЬНИЙ ЧЕК",
      kSeparator,
      kSeparator,
  };
  EXPECT_EQ(lines, expected);
}

TEST(RenderZReport, ExciseGivesTheGroupsOwnLetterToExciseAndTheNextToTax) {
  struct Case {
    std::string txs;
    Lines sales;
    Lines returns;
    Lines rates;
  };
  const Case cases[] = {
      {"<TXS TX=\"1\" TS=\"20240101\" TXPR=\"20\" TXI=\"808\" TXO=\"208\" DTO=\"15\" SMI=\"4850\" SMO=\"1250\"/>",
       {padded("  ДОД. A            8.08        48.50", 43)},
       {padded("  ВІД. A            0.15        12.50", 43)},  // the excise of returns, not TXO
       {padded("            ПДВ_A (Вкл) A =    20.00%", 63)}},
      {"<TXS TX=\"1\" TS=\"20240101\" TXPR=\"20\" TXI=\"150\" DTPR=\"5\" DTI=\"45\" SMI=\"945\"/>",
       {padded("  ДОД. A            0.45         7.95", 43), padded("  ДОД. Б            1.50         9.45", 43)},
       {padded("  ВІД. A            0.00         0.00", 43)},
       {padded("    Акцизний збір (Вк2) A =     5.00%", 63), padded("            ПДВ_Б (Вкл) Б =    20.00%", 63)}},
      // Excise on the sales only, or the rate only: each side shifts on its own.
      {"<TXS TX=\"2\" TS=\"20240101\" TXPR=\"7\" TXI=\"70\" DTI=\"10\" SMI=\"1080\"/>",
       {padded("  ДОД. Б            0.10        10.10", 43), padded("  ДОД. В            0.70        10.80", 43)},
       {padded("  ВІД. Б            0.00         0.00", 43)},
       {padded("            ПДВ_Б (Вкл) Б =     7.00%", 63)}},
      // Group 6 has no letter after its own.
      {"<TXS TX=\"6\" TS=\"20240101\" TXPR=\"0\" DTPR=\"1\" DTI=\"1\"/>",
       {padded("  ДОД. *            0.01         0.00", 43),
        padded("  ДОД. Много парамет0.00         0.00", 58)},
       {padded("  ВІД. *            0.00         0.00", 43)},
       {padded("    Акцизний збір (Вк2) * =     1.00%", 63),
        "            ПДВ_Много параметров0.00%) Много параметров = "}},
  };
  for (const Case& c : cases) {
    const Lines body = report_body("<Z NO=\"1\">" + c.txs + "</Z>");
    Lines expected = {"              ЗАГАЛОМ", kTaxHeading};
    expected.insert(expected.end(), c.sales.begin(), c.sales.end());
    expected.push_back("  Чеків продажу 0");
    expected.insert(expected.end(), c.returns.begin(), c.returns.end());
    expected.push_back("  Чеків повернення 0");
    expected.push_back(padded("  Податок     від        01.01.2024", 53));
    expected.insert(expected.end(), c.rates.begin(), c.rates.end());
    EXPECT_EQ(body, expected) << c.txs;
  }
}

TEST(RenderZReport, CountsOfEveryNcAreWrittenSideBySide) {
  const Lines body = report_body("<Z NO=\"1\"><NC NI=\"3\" NO=\"0\"/><NC NI=\"4\" NO=\"2\"/></Z>");
  ASSERT_EQ(body.size(), 7u);
  EXPECT_EQ(body[2], kZeros);
  EXPECT_EQ(body[3], "  Чеків продажу 34");
  EXPECT_EQ(body[5], "  Чеків повернення 02");
}

TEST(RenderZReport, EveryCashMovementRowHasItsOwnCashLine) {
  const Lines body = report_body(
      "<Z NO=\"1\"><IO NM=\"ГОТІВКА\" SMI=\"100\" SMO=\"0\" SMT=\"100\"/>"
      "<IO NM=\"ЧЕК\" SMI=\"0\" SMO=\"50\" SMT=\"-50\"/></Z>");
  const Lines expected = {
      "              ЗАГАЛОМ",
      "  ------         Видача     Внесок",
      padded("  ГОТІВКА           0.00         1.00", 44),
      padded("  Готівка в касі                 1.00", 72),
      padded("  ЧЕК               0.50         0.00", 40),
      padded("  Готівка в касі                -0.50", 72),
  };
  ASSERT_GE(body.size(), expected.size());
  EXPECT_EQ(Lines(body.begin(), body.begin() + 6), expected);
}

TEST(RenderZReport, PaymentTableIsSummedInSinglePrecision) {
  // 100000.00 + 0.50 + 0.50: each single-precision sum rounds back to 100000.00 (at 10^7
  // hundredths the spacing of single values is one unit), where doubles would give 100001.
  const Lines body = report_body(
      "<Z NO=\"1\"><M NM=\"A\" SMI=\"1000000000\" SMO=\"50\"/><M NM=\"B\" SMI=\"50\" SMO=\"50\"/>"
      "<M NM=\"C\" SMI=\"50\" SMO=\"0\"/></Z>");
  ASSERT_GE(body.size(), 6u);
  EXPECT_EQ(body[2], padded("  A                 0.50  10000000.00", 38));
  EXPECT_EQ(body[5], padded("  ВСЬОГО            1.00  10000000.00", 54));
}

TEST(RenderZReport, ExciseTurnoverIsASinglePrecisionDifference) {
  // 100000000 - 1 is no single value; the difference rounds back to 100000000.
  const Lines body = report_body("<Z NO=\"1\"><TXS TX=\"1\" TXI=\"1\" DTI=\"1\" SMI=\"100000000\"/></Z>");
  ASSERT_GE(body.size(), 3u);
  EXPECT_EQ(body[2], padded("  ДОД. A            0.01   1000000.00", 43));
}

TEST(RenderZReport, NumberIsTheWholePart) {
  EXPECT_EQ(zreport("<Z NO=\"52.9\"/>").at(3), "           Z-звіт N 52");
  EXPECT_EQ(zreport("<Z NO=\"0\"/>").at(3), "           Z-звіт N 0");
}

TEST(RenderZReport, TaxGroupThatIsNoIntegerFailsAfterTheLinesBeforeIt) {
  const journal::loaded_journal journal =
      load_journal(document("<Z NO=\"3\"><NC NI=\"1\" NO=\"0\"/><TXS TX=\"A\" SMI=\"100\"/></Z>"));
  const journal::number_map by_ordinal;
  journal::number_map by_z;
  RenderContext context{DocumentKind::ZReports, by_ordinal, by_z};
  LineList lines;
  EXPECT_THROW(RenderZReport(journal, journal.documents.at(0), 0, context, lines), journal::ConversionError);
  const Lines rendered = to_utf8(lines);
  ASSERT_EQ(rendered.size(), 6u);
  EXPECT_EQ(rendered.back(), kTaxHeading);
}

TEST(RenderZReport, LinksItsNumberToTheRequestedDocumentOnlyInTheModeBoth) {
  const journal::loaded_journal journal = load_journal(document("<C T=\"0\"/>") + document("<Z NO=\"52\"/>"));
  journal::number_map by_ordinal;
  by_ordinal.set(0, 10);
  by_ordinal.set(1, 11);
  struct Case {
    render::DocumentKind kind;
    std::map<std::int32_t, std::int32_t> expected;
    bool has_entries;
  };
  const Case cases[] = {
      {DocumentKind::Both, {{52, 11}}, true},
      {DocumentKind::ZReports, {{7, 70}}, true},  // left as it was
  };
  for (const Case& c : cases) {
    journal::number_map by_z;
    by_z.set(7, 70);
    RenderContext context{c.kind, by_ordinal, by_z};
    LineList lines;
    RenderJournal(journal, context, lines);
    EXPECT_EQ(by_z.entries(), c.expected) << static_cast<int>(c.kind);
    EXPECT_EQ(by_z.has_entries(), c.has_entries) << static_cast<int>(c.kind);
  }
}

TEST(RenderZReport, DocumentWithoutRequestedNumberLeavesTheMapEmpty) {
  const journal::loaded_journal journal = load_journal(document("<Z NO=\"52\"/>"));
  const journal::number_map by_ordinal;
  journal::number_map by_z;
  by_z.set(1, 2);
  RenderContext context{DocumentKind::Both, by_ordinal, by_z};
  LineList lines;
  RenderJournal(journal, context, lines);
  EXPECT_TRUE(by_z.entries().empty());
  EXPECT_FALSE(by_z.has_entries());
}

}  // namespace
}  // namespace render
