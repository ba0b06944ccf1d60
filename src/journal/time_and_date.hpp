// SPDX-License-Identifier: GPL-3.0-or-later
// The time of day and the calendar date of the date-range search, as the journal window
// reads them from its fields and sends them to the register.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace journal {

// n with a leading "0" below 10: 0 is "00", 12 is "12".
std::string TwoDigits(std::int32_t n);

// hh:mm. Throws ConversionError when a part holds no digits.
struct time_of_day {
  std::int32_t hours = 0;
  std::int32_t minutes = 0;

  time_of_day() = default;
  // Reads the text only when its first ":" is its third character; otherwise 00:00.
  explicit time_of_day(std::string_view text);

  std::string to_text() const;  // HHMM
};

// dd.mm.yy, with a two-digit year. The separators are not examined.
struct date_triple {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;

  date_triple() = default;
  // Throws ConversionError when a part holds no digits.
  explicit date_triple(std::string_view text);

  std::string six_digits() const;               // DDMMYY
  std::string first_of_previous_month() const;  // 01.MM.YY
};

}  // namespace journal
