// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/time_and_date.hpp"

#include "journal/number_conversion.hpp"

namespace journal {

namespace {

// Characters from..from+count-1 (0-based) of text, as far as the text reaches.
std::string_view chars(std::string_view text, std::size_t from, std::size_t count) {
  return from < text.size() ? text.substr(from, count) : std::string_view{};
}

}  // namespace

std::string TwoDigits(std::int32_t n) {
  return n <= 9 ? "0" + std::to_string(n) : std::to_string(n);
}

time_of_day::time_of_day(std::string_view text) {
  if (text.find(':') == 2) {
    hours = to_integer(chars(text, 0, 2));
    minutes = to_integer(chars(text, 3, 2));
  }
}

std::string time_of_day::to_text() const { return TwoDigits(hours) + TwoDigits(minutes); }

date_triple::date_triple(std::string_view text)
    : year(to_integer(chars(text, 6, 2))),
      month(to_integer(chars(text, 3, 2))),
      day(to_integer(chars(text, 0, 2))) {}

std::string date_triple::six_digits() const {
  return TwoDigits(day) + TwoDigits(month) + TwoDigits(year);
}

std::string date_triple::first_of_previous_month() const {
  const bool january = month == 1;
  return TwoDigits(1) + "." + TwoDigits(january ? 12 : month - 1) + "." +
         TwoDigits(january ? year - 1 : year);
}

}  // namespace journal
