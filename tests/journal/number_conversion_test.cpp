#include "journal/number_conversion.hpp"

#include <gtest/gtest.h>

#include <cstdint>
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
