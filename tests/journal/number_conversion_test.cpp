// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/number_conversion.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <limits>
#include <string>

#include "journal/journal_errors.hpp"

namespace journal {
namespace {

struct NumberCase {
  std::string text;
  float expected;
};

TEST(NumberConversion, AcceptsTheJournalSyntaxInAnyLocale) {
  const NumberCase cases[] = {
      {"1200", 1200.0f},   {"20.00", 20.0f},   {"5.", 5.0f},       {".5", 0.5f},
      {" 12 ", 12.0f},     {" 12", 12.0f},     {"+3", 3.0f},       {"-2.5", -2.5f},
      {"1e3", 1000.0f},    {"1E+2", 100.0f},   {"2.5e-1", 0.25f},  {"0", 0.0f},
      {"007", 7.0f},       {"1e-400", 0.0f},   {"5.e1", 50.0f},
      // Whole numbers above 2^24 are held as the nearest single.
      {"16777217", 16777216.0f}, {"16777219", 16777220.0f},
      // Read as the nearest double first: this one is exactly 16777217 as a double and
      // then ties to even, where a direct read would give 16777218.
      {"16777217.0000000001", 16777216.0f},
      {"3.4028235e38", std::numeric_limits<float>::max()},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(to_number(c.text), c.expected) << '"' << c.text << '"';
  }
}

// Sums of money beyond 2^24 hundredths (167,772.16) are no single: the text's own whole
// number is what totals and exports add.
TEST(NumberConversion, ExactWholeNumberIsTheTextsOwn) {
  const struct {
    std::string text;
    std::int64_t whole;
  } cases[] = {
      {"123456789", 123456789},   {"16777217", 16777217},     {" -16777219 ", -16777219},
      {"+42", 42},                {"999999999999999999", 999999999999999999},
      {"12.5", 13},               {"-12.5", -13},             {"1e3", 1000},
      {"1234567890123456789", 1234567890123456768},  // past 18 digits: through the nearest double
      {"1e30", std::numeric_limits<std::int64_t>::max()},
  };
  for (const auto& c : cases) {
    const exact_number n = to_exact(c.text);
    EXPECT_EQ(n.whole, c.whole) << '"' << c.text << '"';
    EXPECT_EQ(n.value, to_number(c.text)) << '"' << c.text << '"';
  }
  EXPECT_THROW(to_exact("12a"), ConversionError);
}

// Short decimals are read without from_chars; they must come out as its nearest double,
// then the nearest single, to the last bit.
TEST(NumberConversion, ShortDecimalsAreTheNearestSingleOfTheNearestDouble) {
  std::mt19937_64 random(20261210);
  for (int n = 0; n < 200000; ++n) {
    const int digits = 1 + static_cast<int>(random() % 15);
    std::string text;
    for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
    const std::size_t point = random() % (text.size() + 1);
    if (point < text.size() || random() % 2 == 0) text.insert(point, ".");
    if (random() % 4 == 0) text.insert(0, "-");
    double nearest = 0;
    const char* first = text.data() + (text[0] == '-' ? 1 : 0);
    std::from_chars(first, text.data() + text.size(), nearest);
    if (text[0] == '-') nearest = -nearest;
    if (text == "." || text == "-.") continue;
    ASSERT_EQ(to_number(text), static_cast<float>(nearest)) << text;
  }
}

TEST(NumberConversion, RejectsEverythingElse) {
  const std::string cases[] = {
      "",     " ",     ".",     "1e",  "1,5", "1 2", "+",    "-",     "e5",   ".e5",
      "1e+",  "abc",   "0x10",  "inf", "nan", "1.2.3", "\t12", "12\t", "--1", "+-1",
      "1_000", "12a",  "1e5.5", "1e39", "-1e39", "1e400", std::string("1\0", 2),
  };
  for (const std::string& text : cases) {
    EXPECT_THROW(to_number(text), ConversionError) << '"' << text << '"';
  }
}

TEST(NumberConversion, WholeIsTruncatedAndMustFit32Bits) {
  const std::pair<std::string, std::int32_t> good[] = {
      {"138", 138}, {"3.9", 3}, {"-3.9", -3}, {"1e9", 1000000000},
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"2147483647.9", 2147483647},
  };
  for (const auto& [text, expected] : good) EXPECT_EQ(to_whole(text), expected) << text;
  for (const std::string text : {"2147483648", "-2147483649", "5e9", "1e300", "", "x"}) {
    EXPECT_THROW(to_whole(text), ConversionError) << text;
  }
}

TEST(NumberConversion, IntegerPartsOfDatesAndTimes) {
  const std::pair<std::string, std::int32_t> good[] = {
      {" 9", 9}, {"08", 8}, {"+5", 5}, {"-3", -3}, {"24", 24}};
  for (const auto& [text, expected] : good) EXPECT_EQ(to_integer(text), expected) << text;
  for (const std::string text : {"", "  ", "ab", "9 ", "+-1", "1.5", "1:"}) {
    EXPECT_THROW(to_integer(text), ConversionError) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace journal
