// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/receipt_renderer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/journal_errors.hpp"
#include "render/journal_renderer.hpp"
#include "rendered_journal.hpp"

namespace render {
namespace {

using namespace render_testing;
using Lines = std::vector<std::string>;

const Lines kHead = {
    "          ДП \"Компанія OBRIM\"",
    "                м.Київ",
    "     ЗН 400012345  ФН 3012345678",
};

Lines receipt(const std::string& c_element) {
  return render_utf8(load_journal(document(c_element)), DocumentKind::Receipts);
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The lines between the separator under the cash desk and the number line of a sale
// receipt that has no E element (so no totals).
Lines sale_lines(const std::string& c_body) {
  const Lines all = receipt("<C T=\"0\">" + c_body + "</C>");
  if (all.size() < 9) return {"<too short>"};
  return Lines(all.begin() + 5, all.end() - 4);
}

const std::string kNumberLine271 = padded("  000000271         12.05.2014  10:30", 54);
const std::string kNumberLine0 = padded("  000000000         12.05.2014  10:30", 54);

TEST(RenderReceipt, SaleReceiptMatchesThePrintedTapeByteForByte) {
  const Lines lines = receipt(
      "<C T=\"0\">"
      "<P N=\"1\" NM=\"Хліб житній\" SM=\"1250\" TX=\"1\"/>"
      "<P N=\"2\" NM=\"Молоко пастеризоване 2,5% жиру, пляшка 0,9 л\" Q=\"2000\" PRC=\"2150\" SM=\"4300\" TX=\"1\"/>"
      "<D N=\"3\" TR=\"1\" TY=\"1\" PR=\"10.00\" SM=\"555\" TX=\"1\"/>"
      "<M N=\"4\" NM=\"ГОТІВКА\" SM=\"5000\" RM=\"5\"/>"
      "<E N=\"5\" NO=\"271\" SM=\"4995\" CS=\"1\"><TX TX=\"1\" TXPR=\"20.00\" TXSM=\"833\"/></E>"
      "</C>");
  const Lines expected = concat({kHead,
                                 {
                                     "            Каса01",
                                     kSeparator,
                                     padded("  Хліб житній                   12.50 A", 55),
                                     "  Молоко пастеризоване 2,5% жиру, пл",
                                     "  яшка 0,9 л",
                                     padded("  2. X 21.50 =                  43.00 A", 49),
                                     padded("    Знижка -10.00% на Суму      -5.55 A", 61),
                                     kSeparator,
                                     padded("  Сума                          49.95", 56),
                                     padded("       ПДВ_A A =20.00%           8.33", 52),
                                     kSeparator,
                                     padded("  ГОТІВКА                       50.00", 50),
                                     padded("  Решта                         -0.05", 42),
                                     kNumberLine271,
                                     "         ФІСКАЛЬНИЙ ЧЕК",
                                     kSeparator,
                                     kSeparator,
                                 }});
  EXPECT_EQ(lines, expected);
}

TEST(RenderReceipt, ItemNamesWrapAfterThirtyFourCharactersExceptOnCpLines) {
  const std::string name34 = "Сир твердий голландський 45%, 1 кг";
  const std::string first30 = "Сир твердий голландський 45%, ";
  struct Case {
    std::string element;
    Lines expected;
  };
  const Case cases[] = {
      // 41 characters with the seven blanks: not extended, the value replaces 31-37.
      {"<P N=\"1\" NM=\"" + name34 + "\" SM=\"1250\" TX=\"1\"/>", {"  " + first30 + "12.50 A    "}},
      {"<P N=\"1\" NM=\"" + name34 + ".\" SM=\"1250\" TX=\"1\"/>",
       {"  " + name34, padded("  ." + std::string(29, ' ') + "12.50 A", 45)}},
      {"<P N=\"1\" NM=\"" + name34 + ". Пачка з фольги\" Q=\"1000\" PRC=\"1250\" SM=\"1250\" TX=\"1\"/>",
       {"  " + name34, "  . Пачка з фольги", padded("  1. X 12.50 =                  12.50 A", 49)}},
      {"<CP N=\"1\" NM=\"" + name34 + " та ще дещо, 1шт\" SM=\"1250\" TX=\"1\"/>",
       {"  " + first30 + "12.50 A" + " ще дещо, 1шт" + std::string(7, ' ')}},
      // A quantity of 1.5 prints as 2, with no decimals.
      {"<P N=\"1\" NM=\"Цукор\" Q=\"1500\" PRC=\"2400\" SM=\"3600\" TX=\"2\"/>",
       {"  Цукор", padded("  2. X 24.00 =                  36.00 Б", 49)}},
      // A group beyond 6 writes its long text over the name's blanks.
      {"<P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"9\"/>",
       {padded("  Хліб" + std::string(11, ' ') + "12.50 Много параметров", 48)}},
  };
  for (const Case& c : cases) EXPECT_EQ(sale_lines(c.element), c.expected) << c.element;
}

TEST(RenderReceipt, DiscountAndMarkupLines) {
  struct Case {
    std::string element;
    std::string expected;
  };
  const Case cases[] = {
      {"<D N=\"1\" TR=\"1\" TY=\"1\" PR=\"10.00\" SM=\"555\" TX=\"1\"/>",
       padded("    Знижка -10.00% на Суму      -5.55 A", 61)},
      // Not a percentage: no rate, and " на Податок" follows the blank after Знижка.
      {"<D N=\"1\" TR=\"2\" TY=\"0\" PR=\"10.00\" SM=\"100\" TX=\"2\"/>",
       padded("    Знижка  на Податок          -1.00 Б", 57)},
      {"<D N=\"1\" TR=\"0\" TY=\"0\" SM=\"100\" TX=\"2\"/>", padded("    Знижка                      -1.00 Б", 46)},
      // Whole parts decide: TY 1.7 is a percentage, TR 2.2 is on the tax.
      {"<D N=\"1\" TR=\"2.2\" TY=\"1.7\" PR=\"5\" SM=\"50\" TX=\"3\"/>",
       padded("    Знижка -5.00% на Податок    -0.50 В", 63)},
      // Without a tax group a discount applies to all of them.
      {"<D N=\"1\" TR=\"1\" TY=\"1\" PR=\"5.00\" SM=\"50\"/>", padded("    Знижка -5.00% на Суму       -0.50 *", 60)},
      {"<S N=\"1\" TR=\"1\" TY=\"1\" PR=\"2.50\" SM=\"25\" TX=\"1\"/>",
       padded("    Надбавка 2.50%               0.25 A", 53)},
      {"<S N=\"1\" TR=\"2\" TY=\"0\" PR=\"2.50\" SM=\"25\" TX=\"4\"/>",
       padded("    Надбавка 2.50                0.25 Г", 52)},
  };
  for (const Case& c : cases) EXPECT_EQ(sale_lines(c.element), Lines{c.expected}) << c.element;
}

TEST(RenderReceipt, MarkupWithoutTaxGroupFailsAfterTheLinesBeforeIt) {
  const journal::loaded_journal journal = load_journal(document(
      "<C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/><S N=\"2\" TY=\"1\" PR=\"2\" SM=\"25\"/>"
      "<E N=\"3\" NO=\"5\"/></C>"));
  LineList lines;
  EXPECT_THROW(RenderReceipt(journal, journal.documents.at(0), lines), journal::ConversionError);
  const Lines expected = concat({kHead, {"            Каса00", kSeparator, padded("  Хліб" + std::string(26, ' ') + "12.50 A", 48)}});
  EXPECT_EQ(to_utf8(lines), expected);
}

TEST(RenderReceipt, ServiceReceiptHasDepositsAndWithdrawalsButNoTotals) {
  const Lines lines = receipt(
      "<C T=\"2\"><I N=\"1\" SM=\"10000\"/><O N=\"2\" SM=\"2000\"/><L N=\"3\">Зміна 1</L>"
      "<E N=\"4\" NO=\"12\" SM=\"0\" CS=\"3\"/></C>");
  const Lines expected = concat({kHead,
                                 {
                                     "            Каса03",
                                     kSeparator,
                                     padded("  Внесок                       100.00", 43),
                                     padded("  Видача                       -20.00", 43),
                                     "  Зміна 1",
                                     padded("  000000012         12.05.2014  10:30", 54),
                                     "         СЛУЖБОВИЙ ЧЕК",
                                     kSeparator,
                                     kSeparator,
                                 }});
  EXPECT_EQ(lines, expected);
}

TEST(RenderReceipt, CancelledReceiptShowsTheMarkInsteadOfTotalsAndKeepsOnlyTheReturnTitle) {
  const std::string body =
      "<P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/><M N=\"2\" NM=\"ГОТІВКА\" SM=\"1250\"/>"
      "<E N=\"3\" NO=\"271\" SM=\"1250\" VD=\"1\" CS=\"1\"><TX TX=\"1\" TXPR=\"20\" TXSM=\"208\"/></E>";
  const Lines sale_tail = {
      padded("  Хліб" + std::string(26, ' ') + "12.50 A", 48),
      "       * ЧЕК АНУЛЬОВАНО *",
      padded("  ГОТІВКА                       12.50", 50),
      kNumberLine271,
  };
  EXPECT_EQ(receipt("<C T=\"0\">" + body + "</C>"),
            concat({kHead, {"            Каса01", kSeparator}, sale_tail, {kSeparator, kSeparator}}));
  EXPECT_EQ(receipt("<C T=\"1\">" + body + "</C>"),
            concat({kHead,
                    {"            Каса01", kSeparator, "               ПОВЕРНЕННЯ", kSeparator},
                    sale_tail,
                    {"         ВИДАТКОВИЙ ЧЕК", kSeparator, kSeparator}}));
}

TEST(RenderReceipt, ReturnReceiptHasItsHeadingAndTitle) {
  const Lines lines = receipt(
      "<C T=\"1\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/>"
      "<E N=\"2\" NO=\"271\" SM=\"1250\" CS=\"1\"><TX TX=\"1\" TXPR=\"20\" TXSM=\"208\"/></E></C>");
  const Lines expected = concat({kHead,
                                 {
                                     "            Каса01",
                                     kSeparator,
                                     "               ПОВЕРНЕННЯ",
                                     kSeparator,
                                     padded("  Хліб" + std::string(26, ' ') + "12.50 A", 48),
                                     kSeparator,
                                     padded("  Сума                          12.50", 56),
                                     padded("       ПДВ_A A =20.00%           2.08", 52),
                                     kSeparator,
                                     kNumberLine271,
                                     "         ВИДАТКОВИЙ ЧЕК",
                                     kSeparator,
                                     kSeparator,
                                 }});
  EXPECT_EQ(lines, expected);
}

TEST(RenderReceipt, TaxLinesFromTheEndRecordUseSevenDigitsAndTwoSeparators) {
  struct Case {
    std::string end;
    Lines expected;
  };
  const Case cases[] = {
      {"<E N=\"1\" NO=\"271\" SM=\"12345678\" TX=\"2\" TXPR=\"7.00\" TXSM=\"12345678\"/>",
       {kSeparator, padded("  Сума                      123456.78", 56),
        padded("       ПДВ_Б Б = 7.00%      123456.80", 52), kSeparator, kSeparator}},
      {"<E N=\"1\" NO=\"271\" SM=\"4995\" TX=\"1\" TXPR=\"5.00\" TXSM=\"208\" DTPR=\"20.00\" DTSM=\"833\" TXAL=\"1\"/>",
       {kSeparator, padded("  Сума                          49.95", 56),
        padded("       ПДВ_A A =20.00%           8.33", 52), padded("  Акцз. збір Д = 5.00%           2.08", 52),
        kSeparator, kSeparator}},
      // Every TX child has its line, and one separator follows them.
      {"<E N=\"1\" NO=\"271\" SM=\"4995\"><TX TX=\"1\" TXPR=\"20.00\" TXSM=\"833\"/>"
       "<TX TX=\"0\" TXPR=\"0\" TXSM=\"0\"/></E>",
       {kSeparator, padded("  Сума                          49.95", 56),
        padded("       ПДВ_A A =20.00%           8.33", 52), padded("       ПДВ_    = 0.00%           0.00", 52),
        kSeparator}},
  };
  for (const Case& c : cases) {
    const Lines lines = receipt("<C T=\"0\">" + c.end + "</C>");
    ASSERT_GE(lines.size(), 5 + c.expected.size());
    EXPECT_EQ(Lines(lines.begin() + 5, lines.begin() + 5 + static_cast<long>(c.expected.size())), c.expected)
        << c.end;
  }
}

TEST(RenderReceipt, CreditPaymentAddsItsTransactionLines) {
  const Lines lines = receipt(
      "<C T=\"0\"><M N=\"1\" NM=\"КРЕДИТ\" SM=\"1250\" RRN=\"909090909090\"/>"
      "<M N=\"2\" NM=\"кредит\" SM=\"100\" RRN=\"1\"/><E N=\"3\" NO=\"271\"/></C>");
  const Lines payments = {
      padded("  КРЕДИТ                        12.50", 49), "  Транзакція N", "  909090909090",
      padded("  кредит                         1.00", 49),
  };
  ASSERT_GE(lines.size(), 15u);
  EXPECT_EQ(Lines(lines.end() - 8, lines.end() - 4), payments);
}

TEST(RenderReceipt, CashDeskAndReceiptNumberFields) {
  struct Case {
    const char* end_attributes;
    const char* desk;
    std::string number_line;
  };
  const Case cases[] = {
      {"CS=\"1\" NO=\"271\"", "            Каса01", kNumberLine271},
      {"CS=\"7\" NO=\"1234\"", "            Каса07",
       padded("  00001" + render::ThousandsSeparator() + "234         12.05.2014  10:30", 54)},
      {"CS=\"9.9\" NO=\"138\"", "            Каса09", padded("  000000138         12.05.2014  10:30", 54)},
      {"CS=\"10\" NO=\"1234567\"", "            Каса10",
       padded("  1" + render::ThousandsSeparator() + "234" + render::ThousandsSeparator() + "567         12.05.2014  10:30", 54)},
      {"CS=\"12\" NO=\"0\"", "            Каса12", kNumberLine0},
  };
  for (const Case& c : cases) {
    const Lines lines = receipt(std::string("<C T=\"2\"><E N=\"1\" ") + c.end_attributes + "/></C>");
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[3], c.desk);
    EXPECT_EQ(lines[5], c.number_line);
  }
}

TEST(RenderReceipt, ReceiptWithoutEndPrintsTheInitialEndValues) {
  const Lines lines = receipt("<C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/></C>");
  const Lines expected = concat({kHead,
                                 {"            Каса00", kSeparator,
                                  padded("  Хліб" + std::string(26, ' ') + "12.50 A", 48), kNumberLine0,
                                  "         ФІСКАЛЬНИЙ ЧЕК", kSeparator, kSeparator}});
  EXPECT_EQ(lines, expected);
}

TEST(RenderReceipt, CommentsStayInPlaceWhilePaymentsFollowTheTotals) {
  const Lines lines = receipt(
      "<C T=\"0\"><M N=\"1\" NM=\"КАРТКА\" SM=\"500\"/><L N=\"2\">Акція!</L>"
      "<P N=\"3\" NM=\"Вода\" SM=\"500\" TX=\"1\"/><H N=\"4\">Оператор 7</H>"
      "<E N=\"5\" NO=\"271\" SM=\"500\" TX=\"1\" TXPR=\"20\" TXSM=\"83\" CS=\"1\"/></C>");
  const Lines expected = concat({kHead,
                                 {
                                     "            Каса01",
                                     kSeparator,
                                     "  Акція!",
                                     padded("  Вода" + std::string(27, ' ') + "5.00 A", 48),
                                     "  Оператор 7",
                                     kSeparator,
                                     padded("  Сума                           5.00", 56),
                                     padded("       ПДВ_A A =20.00%           0.83", 52),
                                     kSeparator,
                                     kSeparator,
                                     padded("  КАРТКА                         5.00", 49),
                                     kNumberLine271,
                                     "         ФІСКАЛЬНИЙ ЧЕК",
                                     kSeparator,
                                     kSeparator,
                                 }});
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace render
