// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/rendering_helpers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "journal/journal_errors.hpp"
#include "rendered_journal.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace render {
namespace {

using render_testing::padded;

TEST(PlaceRight, ExtendsShortTextsByThirtyFiveBlanksAndEndsTheValueAtItsColumn) {
  struct Case {
    std::string left;
    std::string right;
    Column kind;
    std::string expected;
  };
  const Case cases[] = {
      // 21 characters become 56; the value takes columns 33-37.
      {"  Сума" + std::string(15, ' '), "12.00", Column::At37, padded("  Сума" + std::string(26, ' ') + "12.00", 56)},
      // 38 characters or more are not extended: columns 31-37 replaced, 38-41 kept.
      {std::string(34, 'x') + "       ", "12.50 A", Column::At37, std::string(30, 'x') + "12.50 A" + "    "},
      {"  000000000", "138", Column::At11, padded("  000000138", 46)},
      {"  ДОД. A", "8.08", Column::At24, padded("  ДОД. A            8.08", 43)},
      {"       ПДВ_A A = ", "20.00%        ", Column::At30, padded("       ПДВ_A A =20.00%", 52)},
      {"  x", "", Column::At37, padded("  x", 38)},
  };
  for (const Case& c : cases) {
    const std::string placed = text::to_utf8(PlaceRight(text::from_utf8(c.left), text::from_utf8(c.right), c.kind));
    EXPECT_EQ(placed, c.expected) << c.left << " / " << c.right;
  }
}

TEST(PlaceRight, SecondPlacementOnTheSameTextAppendsNothing) {
  const std::string once = PlaceRight("  M", "1.00", Column::At24);
  const std::string twice = PlaceRight(once, "2.00", Column::At37);
  EXPECT_EQ(twice.size(), once.size());
  EXPECT_EQ(twice, padded("  M" + std::string(17, ' ') + "1.00" + std::string(9, ' ') + "2.00", 38));
}

TEST(PlaceRight, ValueOutsideTheLineIsAnIndexFailure) {
  // A left text of one character reaches only column 36; a value longer than its end
  // column would begin before column 1.
  EXPECT_THROW(PlaceRight("x", "1", Column::At37), IndexError);
  EXPECT_THROW(PlaceRight("  000000000", "1 000 000 000", Column::At11), IndexError);
  EXPECT_THROW(PlaceRight("  ", std::string(25, '9'), Column::At24), IndexError);
  EXPECT_NO_THROW(PlaceRight("  ", std::string(24, '9'), Column::At24));
}

TEST(TaxLetter, GroupsZeroToSixHaveTheirLettersAndAnyOtherTheOverflowText) {
  const std::pair<std::int64_t, std::string_view> cases[] = {
      {0, " "}, {1, "A"}, {2, "Б"}, {3, "В"}, {4, "Г"}, {5, "Д"}, {6, "*"},
      {7, "Много параметров"}, {-1, "Много параметров"}, {2147483648LL, "Много параметров"},
  };
  for (const auto& [group, letter] : cases) EXPECT_EQ(text::to_utf8(TaxLetter(group)), letter) << group;
  EXPECT_EQ(TaxLetter(1), "\x41");  // the Latin A, not the Cyrillic one
}

TEST(FormatTimestamp, WritesDayMonthYearAndOptionallyTheTimeFromWhatTheTextHolds) {
  struct Case {
    const char* timestamp;
    bool with_time;
    const char* expected;
  };
  const Case cases[] = {
      {"20140430144200", true, "30.04.2014  14:42"},
      {"20140430", false, "30.04.2014  "},
      {"20140430144200", false, "30.04.2014  "},
      {"", true, "..  :"},
      {"201404", true, ".04.2014  :"},
      {"2014043014", true, "30.04.2014  14:"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTimestamp(c.timestamp, c.with_time), c.expected) << c.timestamp;
}

TEST(TaxGroupNumber, AcceptsBlanksSignAndDigitsOnly) {
  const std::pair<const char*, std::int32_t> accepted[] = {
      {"1", 1}, {"  2", 2}, {"+3", 3}, {"-1", -1}, {"007", 7}, {"2147483647", 2147483647},
  };
  for (const auto& [text, group] : accepted) EXPECT_EQ(TaxGroupNumber(text), group) << text;
  for (const char* text : {"", " ", "1 ", "1.0", ".", "A", "+", "-", "+-1", "1e2", "2147483648", "\t1"})
    EXPECT_THROW(TaxGroupNumber(text), journal::ConversionError) << '"' << text << '"';
}

TEST(FormatFixed, RoundsOnceAtTheCoarserOfPrecisionAndDecimalsTiesAwayFromZero) {
  struct Case {
    double value;
    int precision;
    int decimals;
    const char* expected;
  };
  const Case cases[] = {
      {12, 8, 2, "12.00"},
      {0, 8, 2, "0.00"},
      {1.5, 8, 0, "2"},
      {2.5, 8, 0, "3"},
      {-2.5, 8, 0, "-3"},
      {0.125, 8, 2, "0.13"},    // an exact tie goes away from zero, not to even
      {-0.125, 8, 2, "-0.13"},
      {1.005, 8, 2, "1.00"},    // the double below 1.005 is no tie
      {1234567.891, 8, 2, "1234567.90"},
      {123456.789, 7, 2, "123456.80"},
      {123456789, 8, 2, "123456790.00"},
      {99999999.5, 8, 2, "100000000.00"},
      {9.995, 8, 2, "9.99"},
      {0.000001234, 8, 2, "0.00"},
      {-0.001, 8, 2, "0.00"},   // zero after rounding has no sign
      {-0.0, 8, 0, "0"},
      {-5.55, 8, 2, "-5.55"},
      {3.4028234663852886e38, 8, 0, "34028235" "0000000000" "0000000000" "0000000000" "0"},
      {1e-300, 8, 2, "0.00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.expected)
        << c.value << " " << c.precision << " " << c.decimals;
}

TEST(FormatGrouped, GroupsTheDigitsInThreesAndNeverTheSign) {
  const std::pair<double, const char*> cases[] = {
      {138, "138"}, {1234, "1 234"}, {271, "271"}, {1234567, "1 234 567"}, {-1234, "-1 234"},
      {-123, "-123"}, {999.5, "1 000"}, {0, "0"}, {123456789, "123 456 790"},
  };
  // The blank stands for the platform's separator (the user's own on Windows).
  for (const auto& [value, expected] : cases) {
    std::string grouped;
    for (const char c : std::string_view(expected)) grouped += c == ' ' ? ThousandsSeparator() : std::string(1, c);
    EXPECT_EQ(FormatGrouped(value), grouped) << value;
  }
}

TEST(NumberTexts, ScaleTheSingleValueAndKeepTheirPrecision) {
  EXPECT_EQ(AmountText(4995), "49.95");
  EXPECT_EQ(AmountText(-555), "-5.55");
  EXPECT_EQ(AmountText(12345678), "123456.78");
  EXPECT_EQ(AmountText7(12345678), "123456.80");
  EXPECT_EQ(RateText(20), "20.00");
  EXPECT_EQ(RateText7(123456.78f), "123456.80");
  EXPECT_EQ(CountText(12), "12");
  EXPECT_EQ(CountText(2.5f), "3");
  EXPECT_EQ(QuantityText(1500), "2");
  EXPECT_EQ(QuantityText(2000), "2");
  EXPECT_EQ(QuantityText(250), "0");
  // The model's single value, not the decimal text: 0.1f is a little above 0.1.
  EXPECT_EQ(FormatFixed(0.1f, 10, 10), "0.1000000015");
}

TEST(WholeText, TruncatesTowardZeroAndWritesEveryDigit) {
  EXPECT_EQ(WholeText(52.9f), "52");
  EXPECT_EQ(WholeText(-7.9f), "-7");
  EXPECT_EQ(WholeText(-0.5f), "0");
  EXPECT_EQ(WholeText(16777217.0f), "16777216");
  EXPECT_EQ(WholeText(1e20f), "100000002004087734272");
}

TEST(NumberTexts, AgreeWithTheExactFormattingForEveryKindOfValue) {
  std::vector<float> values;
  for (int v = -100000; v <= 100000; ++v) values.push_back(static_cast<float>(v));
  for (float v : {9999999.0f, 10000000.0f, 99999999.0f, 100000000.0f, 123456789.0f, -99999999.0f, 16777216.0f,
                  1e12f, -1e15f, 1e20f, 0.5f, -0.5f, 2.25f, 0.1f, 1234.5f, -0.0f, 20.0f, 7.0f, 999999.0f, 1000000.0f})
    values.push_back(v);
  for (float v : values) {
    const double d = v;
    ASSERT_EQ(AmountText(v), FormatFixed(d * 0.01, 8, 2)) << v;
    ASSERT_EQ(AmountText7(v), FormatFixed(d * 0.01, 7, 2)) << v;
    ASSERT_EQ(RateText(v), FormatFixed(d, 8, 2)) << v;
    ASSERT_EQ(RateText7(v), FormatFixed(d, 7, 2)) << v;
    ASSERT_EQ(CountText(v), FormatFixed(d, 8, 0)) << v;
  }
}

TEST(DocumentHead, NamesThisDocumentsFactoryNumberAndTheFirstDocumentsFiscalNumber) {
  const journal::loaded_journal journal = render_testing::load_journal(
      "<DAT FN=\"111\" ZN=\"A1\"><C/><TS/></DAT><MAC/><DAT FN=\"222\" ZN=\"B2\"><C/><TS/></DAT><MAC/>");
  LineList lines;
  LineSink sink(lines);
  AppendDocumentHead(journal, journal.documents.at(1), sink);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "          ДП \"Компанія OBRIM\""_cp1251);
  EXPECT_EQ(lines[1], "                м.Київ"_cp1251);
  EXPECT_EQ(lines[2], "     ЗН B2  ФН 111"_cp1251);
}

}  // namespace
}  // namespace render
