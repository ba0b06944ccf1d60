// SPDX-License-Identifier: GPL-3.0-or-later
// The values of a loaded document as the csv, json and xlsx forms write them: texts in
// UTF-8, amounts, quantities and rates as decimals, dates and times in ISO form, and the
// pieces of a receipt the renderers derive (tax groups and letters, the taxes at its end).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.hpp"

namespace archive {

std::string utf8(std::string_view cp1251);

// A number as a whole count of its smallest unit: 1250 with 2 places is 12.50. Amounts and
// quantities are the journal text's own whole numbers, so that 1,234,567.89 is written
// as it stands, not as the single of the journal model that the renderers read.
struct ScaledNumber {
  std::int64_t units = 0;
  int places = 0;

  std::string text() const;  // "12.50", "-0.05"
  double value() const;      // the nearest double: what a spreadsheet shows with its places
};

ScaledNumber amount(const journal::exact_number& hundredths);
ScaledNumber negated_amount(const journal::exact_number& hundredths);
ScaledNumber quantity(const journal::exact_number& thousandths);
// A rate in percent, with two places; a count, whole (the fraction dropped, as rendered).
ScaledNumber rate(float percent);
ScaledNumber count(float value);
std::string whole(float value);

// The tax group of a TX text and its letter, as the renderers derive them; a text that
// is no whole number fails the export as it fails the rendering.
struct TaxGroup {
  std::int32_t number = 0;
  std::string letter;  // UTF-8
};
TaxGroup tax_group(std::string_view tx);
// A discount without a tax group is on every group: the renderer shows "*", group 6.
TaxGroup discount_tax_group(std::string_view tx);

// YYYY-MM-DD of YYYYMMDD..., hh:mm:ss of ...hhmmss; empty when the timestamp lacks them.
std::string iso_date(std::string_view ts);
std::string iso_time(std::string_view ts);

// "sale", "return", "service" of a receipt's T, "receipt" for any other.
const char* receipt_kind(float t);

// The taxes a receipt's end shows, as the receipt renderer reads them: none on a
// cancelled or a service receipt; the TX children when there are any; otherwise E's
// own, where with excise (TXAL not 0) the register puts VAT into the DT attributes and
// the excise into the TX ones.
struct ReceiptTax {
  TaxGroup group;
  float rate = 0;
  journal::exact_number amount;
  float excise_rate = 0;
  journal::exact_number excise_amount;
};
std::vector<ReceiptTax> receipt_taxes(const journal::receipt& r);

// The positions of a receipt's line sequence in order, without adding the ones nobody filled.
template <class Visit>
void walk_lines(const journal::receipt& r, Visit visit) {
  for (std::int32_t position = 1; position <= r.line_total(); ++position) {
    const journal::sequence_entry* entry = r.sequence.find(position);
    if (entry != nullptr && entry->kind != journal::line_kind::none) visit(*entry);
  }
}

}  // namespace archive
