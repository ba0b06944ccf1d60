// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/rendering_helpers.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "journal/number_conversion.hpp"
#include "text/cp1251.hpp"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

using namespace text::literals;

namespace render {

namespace {

std::size_t end_column(Column kind) {
  switch (kind) {
    case Column::At37: return 37;
    case Column::At30: return 30;
    case Column::At11: return 11;
    case Column::At24: return 24;
  }
  return 37;
}

// Characters from..from+count-1 (counted from 1) of s, or those of them that exist.
std::string_view part(std::string_view s, std::size_t from, std::size_t count) {
  if (from > s.size()) return {};
  return s.substr(from - 1, count);
}

void strip_leading_zeros(std::string& digits) {
  const std::size_t nz = digits.find_first_not_of('0');
  digits.erase(0, nz == std::string::npos ? digits.size() - 1 : nz);
}

#ifdef _WIN32
std::string user_thousands_separator() {
  wchar_t buffer[8] = {};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8);
  if (n <= 1) return " ";
  std::string out;
  for (int i = 0; i < n - 1; ++i) {
    const int byte = text::byte_of(static_cast<char32_t>(buffer[i]));
    if (byte < 0) return " ";  // a separator Windows-1251 cannot write
    out += static_cast<char>(byte);
  }
  return out;
}
#endif

}  // namespace

void PlaceRightAfter(std::string& line, std::size_t indent, std::string_view right, Column kind) {
  indent = std::min(indent, line.size());
  if (line.size() - indent < 38) line.append(35, ' ');
  const std::size_t length = line.size() - indent;
  const std::size_t end = end_column(kind);
  if (right.empty()) return;
  if (right.size() > end || end > length)
    throw IndexError("value of " + std::to_string(right.size()) + " characters does not fit column " +
                     std::to_string(end) + " of a line of " + std::to_string(length));
  line.replace(indent + end - right.size(), right.size(), right);
}

std::string PlaceRight(std::string left, std::string_view right, Column kind) {
  PlaceRightAfter(left, 0, right, kind);
  return left;
}

std::string LineBuffer(std::string_view start) {
  std::string line;
  line.reserve(start.size() + 40);
  line = start;
  return line;
}

std::string_view TaxLetter(std::int64_t group) {
  static constexpr std::string_view kLetters[] = {
      " ", "A", "Б"_cp1251, "В"_cp1251, "Г"_cp1251, "Д"_cp1251, "*",
  };
  if (group < 0 || group > 6) return "Много параметров"_cp1251;
  return kLetters[group];
}

std::string FormatTimestamp(std::string_view timestamp, bool with_time) {
  std::string out;
  out.reserve(17);
  out += part(timestamp, 7, 2);
  out += '.';
  out += part(timestamp, 5, 2);
  out += '.';
  out += part(timestamp, 1, 4);
  out += "  ";
  if (with_time) {
    out += part(timestamp, 9, 2);
    out += ':';
    out += part(timestamp, 11, 2);
  }
  return out;
}

std::int32_t TaxGroupNumber(std::string_view text) { return journal::to_integer(text); }

std::string FormatFixed(double value, int precision, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  precision = std::max(precision, 1);
  decimals = std::max(decimals, 0);
  const double magnitude = std::fabs(value);

  // The exact decimal expansion: a double is m * 2^e, which needs -e decimal places
  // when e < 0 and none otherwise.
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  int exact_places = 0;
  if (mantissa != 0) exact_places = std::max(0, 53 - exponent - std::countr_zero(mantissa));
  char buffer[1500];  // at most 309 integer and 1074 fractional digits
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, exact_places);
  const std::string_view expansion(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t point = std::min(expansion.find('.'), expansion.size());

  std::string digits(expansion.substr(0, point));
  const auto integer_length = static_cast<long>(digits.size());
  if (point < expansion.size()) digits += expansion.substr(point + 1);

  std::string whole = "0";
  std::string places_text;
  const std::size_t first = digits.find_first_not_of('0');
  long places = decimals;
  if (first != std::string::npos) {
    // The leading digit stands for 10^(magnitude_digits - 1).
    const long magnitude_digits = integer_length - static_cast<long>(first);
    places = std::min<long>(decimals, precision - magnitude_digits);
    const auto cut = static_cast<std::size_t>(integer_length + places);  // > first, so > 0
    const bool round_up = cut < digits.size() && digits[cut] >= '5';
    digits.resize(cut, '0');
    if (round_up) {
      std::size_t i = digits.size();
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) digits.insert(digits.begin(), '1');
      else ++digits[i - 1];
    }
    // digits now holds the value times 10^places, rounded.
    if (places >= 0) {
      const auto p = static_cast<std::size_t>(places);
      if (digits.size() <= p) digits.insert(0, p + 1 - digits.size(), '0');
      whole = digits.substr(0, digits.size() - p);
      places_text = digits.substr(digits.size() - p);
    } else {
      whole = digits;
      whole.append(static_cast<std::size_t>(-places), '0');
    }
    strip_leading_zeros(whole);
  }
  if (static_cast<long>(places_text.size()) < decimals)
    places_text.append(static_cast<std::size_t>(decimals) - places_text.size(), '0');

  const bool nonzero = whole != "0" || places_text.find_first_not_of('0') != std::string::npos;
  std::string out;
  out.reserve(whole.size() + places_text.size() + 2);
  if (value < 0 && nonzero) out += '-';
  out += whole;
  if (decimals > 0) {
    out += '.';
    out += places_text;
  }
  return out;
}

const std::string& ThousandsSeparator() {
#ifdef _WIN32
  static const std::string separator = user_thousands_separator();
#else
  static const std::string separator = " ";
#endif
  return separator;
}

std::string FormatGrouped(double value) {
  const std::string plain = FormatFixed(value, 8, 0);
  const std::size_t sign = plain.front() == '-' ? 1 : 0;
  const std::size_t count = plain.size() - sign;
  if (count <= 3) return plain;
  const std::string& separator = ThousandsSeparator();
  std::string out = plain.substr(0, sign);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) out += separator;
    out += plain[sign + i];
  }
  return out;
}

namespace {

// What FormatFixed gives for a whole-numbered v divided by 10^shift, when the result has
// no more than `precision` digits, written straight from the integer; nothing otherwise.
// With shift 2 the double v * 0.01 lies within an ulp of v / 100, far from any tie at
// two places, so rounding it gives v / 100 exactly. Amounts, counts and most rates are
// whole, and every rendered line has some: this is the renderer's hot path.
std::optional<std::string> WholeFixed(float v, int shift, int precision, int decimals) {
  if (!(std::fabs(v) < 1e15f) || std::trunc(v) != v) return std::nullopt;
  auto n = static_cast<std::int64_t>(v);
  for (int i = shift; i < decimals; ++i) n *= 10;
  std::int64_t limit = 1;
  for (int i = 0; i < precision; ++i) limit *= 10;
  const std::uint64_t magnitude = n < 0 ? static_cast<std::uint64_t>(-n) : static_cast<std::uint64_t>(n);
  if (magnitude >= static_cast<std::uint64_t>(limit)) return std::nullopt;
  std::string digits = std::to_string(magnitude);
  const auto places = static_cast<std::size_t>(decimals);
  if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
  if (places > 0) digits.insert(digits.size() - places, 1, '.');
  if (n < 0) digits.insert(0, 1, '-');
  return digits;
}

std::string Fixed(float v, int shift, int precision, int decimals) {
  if (auto fast = WholeFixed(v, shift, precision, decimals)) return std::move(*fast);
  return FormatFixed(shift == 2 ? static_cast<double>(v) * 0.01 : static_cast<double>(v), precision, decimals);
}

}  // namespace

std::string AmountText(float v) { return Fixed(v, 2, 8, 2); }
std::string AmountText7(float v) { return Fixed(v, 2, 7, 2); }
std::string RateText(float v) { return Fixed(v, 0, 8, 2); }
std::string RateText7(float v) { return Fixed(v, 0, 7, 2); }
std::string CountText(float v) { return Fixed(v, 0, 8, 0); }
std::string QuantityText(float v) { return FormatFixed(static_cast<double>(v) * 0.001, 8, 0); }

// 40 significant digits hold every whole single-precision value exactly.
std::string WholeText(float v) { return FormatFixed(std::trunc(static_cast<double>(v)), 40, 0); }

namespace {

// Centred as the register centres its head lines: on 39 columns, an odd blank to the right.
std::string Centred(std::string text) {
  constexpr std::size_t kHeadWidth = 39;
  const std::size_t blanks = text.size() < kHeadWidth ? (kHeadWidth - text.size()) / 2 : 0;
  return std::string(blanks, ' ') + text;
}

}  // namespace

void AppendDocumentHead(const journal::loaded_journal& journal, const journal::fiscal_document& document,
                        LineSink& lines, const Organisation& organisation) {
  const std::string_view name = organisation.name.empty() ? organisation_defaults::kName : organisation.name;
  const std::string_view city = organisation.city.empty() ? organisation_defaults::kCity : organisation.city;
  lines.push_back(Centred(std::string(name)));
  lines.push_back(Centred(std::string(city)));
  std::string numbers("     ЗН "_cp1251);
  numbers += document.ZN;
  numbers += "  ФН "_cp1251;
  numbers += journal.first_document_fn();
  lines.push_back(std::move(numbers));
}

}  // namespace render
