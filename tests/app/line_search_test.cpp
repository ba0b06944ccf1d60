// SPDX-License-Identifier: GPL-3.0-or-later
// "Найти" with "Далее" and "Назад" over rendered lines: direction, going round at either
// end, the line to start from, and letters of either case in both alphabets.
#include "app/line_search.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/cp1251.hpp"

namespace app {
namespace {

TEST(LineSearch, FindsTheNextOrPreviousLineGoingRoundInAnyCase) {
  const render::PackedLines lines{
      text::from_utf8("          ДП \"Компанія OBRIM\""),  // 0
      text::from_utf8("Хліб житній        12.00 А"),       // 1
      text::from_utf8("ГОТІВКА                 12.00"),    // 2
      text::from_utf8("Молоко               25.50 Б"),     // 3
      text::from_utf8("ЄВРОПЕЙСЬКИЙ ґатунок     1.00"),    // 4
      text::from_utf8("готівка                 25.50"),    // 5
      text::from_utf8("Ёлка ЎЇІ                0.00"),     // 6
  };
  constexpr auto F = SearchDirection::Forwards;
  constexpr auto B = SearchDirection::Backwards;
  constexpr std::optional<std::size_t> none;
  struct Case {
    const char* needle;
    std::optional<std::size_t> from;
    SearchDirection direction;
    std::optional<std::size_t> found;
  };
  const Case cases[] = {
      {"готівка", none, F, 2},     // from nowhere: the first line is looked at first
      {"готівка", none, B, 5},     // and backwards the last
      {"готівка", 2, F, 5},        // the line after the current one
      {"готівка", 5, F, 2},        // round past the end
      {"готівка", 5, B, 2},
      {"готівка", 2, B, 5},        // round past the start
      {"ГОТІВКА", 1, F, 2},        // capitals find small letters and the other way round
      {"obrim", 3, F, 0},          // Latin in any case, round to the first line
      {"OBRIM", 0, F, 0},          // the only line holding it: found again where it stands
      {"європейський ҐАТУНОК", 0, F, 4},  // Ukrainian letters outside А-Я
      {"ёлка ўїі", none, F, 6},
      {"хліб", 6, F, 1},
      {"кефір", 3, F, none},       // no line holds it
      {"", 0, F, none},            // nothing to find
      {"25.50 б", none, B, 3},
      {"житній        12", none, F, 1},  // a blank run as the list keeps it
  };
  for (const Case& c : cases)
    EXPECT_EQ(find_line(lines, text::from_utf8(c.needle), c.from, c.direction), c.found)
        << c.needle << " from " << (c.from ? std::to_string(*c.from) : "none");
  EXPECT_EQ(find_line(render::PackedLines{}, "a", none, F), none);
}

TEST(LineSearch, FoldsEveryCapitalOfTheCodePageToItsSmallLetter) {
  // The whole Cyrillic range of Windows-1251 as Unicode folds it.
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::u16string unicode = text::to_utf16(byte);
    const char16_t c = unicode.at(0);
    char16_t small_letter = c;
    if (c >= u'\u0410' && c <= u'\u042F') small_letter = static_cast<char16_t>(c + 32);
    if (c >= u'\u0400' && c <= u'\u040F') small_letter = static_cast<char16_t>(c + 80);
    if (c == u'\u0490') small_letter = u'\u0491';  // Ґ
    const std::u16string small(1, small_letter);
    const std::string expected = text::from_utf16(small);
    EXPECT_EQ(fold_case(byte), expected) << "byte " << b;
  }
  EXPECT_EQ(fold_case("Talqen ABC xyz"), "talqen abc xyz");
}

}  // namespace
}  // namespace app
