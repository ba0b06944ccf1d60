// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/number_conversion.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "journal/journal_errors.hpp"

namespace journal {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail(std::string_view text) {
  throw ConversionError("not a number: \"" + std::string(text) + "\"");
}

// Reads the text as the nearest double.
double read_decimal(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  const std::string_view s = text.substr(begin, end - begin);

  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const std::size_t int_begin = i;
  while (i < s.size() && is_digit(s[i])) ++i;
  const std::string_view int_digits = s.substr(int_begin, i - int_begin);
  std::string_view frac_digits;
  if (i < s.size() && s[i] == '.') {
    const std::size_t frac_begin = ++i;
    while (i < s.size() && is_digit(s[i])) ++i;
    frac_digits = s.substr(frac_begin, i - frac_begin);
  }
  if (int_digits.empty() && frac_digits.empty()) fail(text);
  // The exponent, saturated: beyond a billion only its sign matters.
  std::int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exp_negative = s[i++] == '-';
    const std::size_t exp_begin = i;
    while (i < s.size() && is_digit(s[i])) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[i] - '0');
      ++i;
    }
    if (i == exp_begin) fail(text);
    if (exp_negative) exponent = -exponent;
  }
  if (i != s.size()) fail(text);

  // Up to 15 digits and no exponent, the digits are exact in a double and so is the
  // power of ten: one division gives the nearest double, as from_chars does.
  if (exponent == 0 && int_digits.size() + frac_digits.size() <= 15) {
    std::int64_t digits = 0;
    for (const char c : int_digits) digits = digits * 10 + (c - '0');
    for (const char c : frac_digits) digits = digits * 10 + (c - '0');
    constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(digits) / kPowersOfTen[frac_digits.size()];
    return negative ? -value : value;
  }
  // from_chars takes no "+" and reads the same syntax in every locale.
  const char* first = s.data() + int_begin;
  const char* last = s.data() + s.size();
  double value = 0;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: the position of the first significant digit
    // tells which. A value too small is read as zero, the nearest double.
    std::int64_t magnitude = 0;
    const std::size_t nz = int_digits.find_first_not_of('0');
    if (nz != std::string_view::npos) {
      magnitude = static_cast<std::int64_t>(int_digits.size() - nz) - 1;
    } else {
      magnitude = -static_cast<std::int64_t>(frac_digits.find_first_not_of('0')) - 1;
    }
    if (magnitude + exponent > 0) fail(text);
    value = 0;
  } else if (ec != std::errc{} || ptr != last) {
    fail(text);
  }
  return negative ? -value : value;
}

}  // namespace

float to_number(std::string_view text) {
  // Most values are a few digits alone, exact as an integer.
  if (!text.empty() && text.size() <= 9) {
    std::int32_t digits = 0;
    std::size_t i = 0;
    while (i < text.size() && is_digit(text[i])) digits = digits * 10 + (text[i++] - '0');
    if (i == text.size()) return static_cast<float>(digits);
  }
  const double value = read_decimal(text);
  constexpr double kMax = std::numeric_limits<float>::max();
  // Half a unit in the last place above the largest single: from there on the value
  // rounds to infinity.
  constexpr double kRoundsToInfinity = kMax + 0x1p103;
  const double magnitude = std::fabs(value);
  if (magnitude >= kRoundsToInfinity) fail(text);
  if (magnitude > kMax) return value < 0 ? -std::numeric_limits<float>::max()
                                         : std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

exact_number to_exact(std::string_view text) {
  const float value = to_number(text);
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  std::string_view digits = text.substr(begin, end - begin);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  if (!digits.empty() && digits.size() <= 18 &&
      digits.find_first_not_of("0123456789") == std::string_view::npos) {
    std::int64_t whole = 0;
    for (const char c : digits) whole = whole * 10 + (c - '0');
    return {value, negative ? -whole : whole};
  }
  const double rounded = std::round(read_decimal(text));
  constexpr double kLimit = 9223372036854774784.0;  // the largest double below 2^63
  if (rounded >= kLimit) return {value, std::numeric_limits<std::int64_t>::max()};
  if (rounded <= -kLimit) return {value, std::numeric_limits<std::int64_t>::min()};
  return {value, static_cast<std::int64_t>(rounded)};
}

std::int32_t to_whole(std::string_view text) {
  const double whole = std::trunc(read_decimal(text));
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) fail(text);
  return static_cast<std::int32_t>(whole);
}

std::int32_t to_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  // from_chars takes "-" but not "+"; a sign after "+" is not a number.
  if (i < text.size() && text[i] == '+' && ++i < text.size() && text[i] == '-') fail(text);
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  std::int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc{} || ptr != last) fail(text);
  return value;
}

}  // namespace journal
