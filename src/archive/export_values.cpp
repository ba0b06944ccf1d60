// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/export_values.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "archive/journal_export.hpp"
#include "render/rendering_helpers.hpp"
#include "text/cp1251.hpp"

namespace archive {

namespace {

bool all_digits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::string utf8(std::string_view cp1251) { return text::to_utf8(cp1251); }

namespace {

// The nearest whole number, held within 64 bits.
std::int64_t nearest_units(double value) {
  constexpr double kLimit = 9223372036854774784.0;  // the largest double below 2^63
  if (!(value > -kLimit)) return value < 0 ? std::numeric_limits<std::int64_t>::min() + 1 : 0;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(std::round(value));
}

}  // namespace

std::string ScaledNumber::text() const { return decimal_text(units, places); }

double ScaledNumber::value() const { return static_cast<double>(units) / std::pow(10.0, places); }

ScaledNumber amount(const journal::exact_number& hundredths) { return {hundredths.whole, 2}; }
ScaledNumber negated_amount(const journal::exact_number& hundredths) {
  const std::int64_t n = hundredths.whole;
  return {n == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : -n, 2};
}
ScaledNumber quantity(const journal::exact_number& thousandths) { return {thousandths.whole, 3}; }
ScaledNumber rate(float percent) { return {nearest_units(static_cast<double>(percent) * 100.0), 2}; }
ScaledNumber count(float value) { return {nearest_units(std::trunc(static_cast<double>(value))), 0}; }
std::string whole(float value) { return render::WholeText(value); }

TaxGroup tax_group(std::string_view tx) {
  const std::int32_t n = render::TaxGroupNumber(tx);
  return {n, utf8(render::TaxLetter(n))};
}
TaxGroup discount_tax_group(std::string_view tx) { return tx.empty() ? tax_group("6") : tax_group(tx); }

std::string iso_date(std::string_view ts) {
  if (ts.size() < 8 || !all_digits(ts.substr(0, 8))) return {};
  return std::string(ts.substr(0, 4)) + "-" + std::string(ts.substr(4, 2)) + "-" + std::string(ts.substr(6, 2));
}
std::string iso_time(std::string_view ts) {
  if (ts.size() != 14 || !all_digits(ts)) return {};
  return std::string(ts.substr(8, 2)) + ":" + std::string(ts.substr(10, 2)) + ":" + std::string(ts.substr(12, 2));
}

const char* receipt_kind(float t) {
  switch (static_cast<int>(std::trunc(t))) {
    case 0: return "sale";
    case 1: return "return";
    case 2: return "service";
    default: return "receipt";
  }
}

std::vector<ReceiptTax> receipt_taxes(const journal::receipt& r) {
  std::vector<ReceiptTax> taxes;
  const journal::sale_end& e = r.end;
  if (e.VD == 1 || r.T == 2) return taxes;
  if (e.has_tx) {
    for (const auto& [key, t] : e.tx_list) taxes.push_back({tax_group(t.TX), t.TXPR, t.TXSM, t.DTPR, t.DTSM});
  } else if (e.TXAL == 0) {
    taxes.push_back({tax_group(e.TX), e.TXPR, e.TXSM, 0, 0});
  } else {
    taxes.push_back({tax_group(e.TX), e.DTPR, e.DTSM, e.TXPR, e.TXSM});
  }
  return taxes;
}

std::string csv_field(std::string_view utf8_value) {
  if (utf8_value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8_value);
  std::string quoted = "\"";
  for (char c : utf8_value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string json_string(std::string_view utf8_value) {
  std::string out = "\"";
  for (char c : utf8_value) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

namespace {

// The digits with the decimal point places from the right, and the sign.
std::string placed(std::string digits, int places, bool negative) {
  if (digits.size() <= static_cast<std::size_t>(places))
    digits.insert(0, static_cast<std::size_t>(places) + 1 - digits.size(), '0');
  if (places > 0) digits.insert(digits.size() - static_cast<std::size_t>(places), ".");
  return negative ? "-" + digits : digits;
}

}  // namespace

std::string decimal_text(std::int64_t units, int places) {
  // The magnitude as unsigned, so that the lowest 64-bit number has one too.
  const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  return placed(std::to_string(magnitude), places, units < 0);
}

std::string scaled_decimal(double value, int places) {
  // Below 2^53 the rounded value is exact as an integer; above it every double is whole
  // already and its digits come from printf, which writes them exactly.
  const double rounded = std::round(value);
  if (std::fabs(rounded) < 0x1p53) return decimal_text(static_cast<std::int64_t>(rounded), places);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", std::fabs(rounded));
  return placed(buf, places, rounded < 0);
}

}  // namespace archive
