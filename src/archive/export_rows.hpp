// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a document as the csv form and the workbook's "Рядки" sheet show them: one
// row per receipt line and per Z-report total, built once for both forms, with the numbers
// kept whole so that each form writes them exactly.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/export_values.hpp"
#include "journal/records.hpp"

namespace archive {

// The columns of a row, in order; the first four name the document it belongs to.
inline constexpr std::array<std::string_view, 10> kRowColumns = {
    "number", "date", "time", "kind", "line_type", "name", "quantity", "price", "amount", "tax_letter"};

struct DocumentRow {
  std::string_view line_type;
  std::string name;  // UTF-8
  std::optional<ScaledNumber> quantity, price, amount;
  std::string tax_letter;  // UTF-8
};

// sale, return, service or receipt of a receipt's T; z-report.
const char* document_kind(const journal::fiscal_document& loaded);

// The rows of a loaded document, in place of those rows held before.
void document_rows(const journal::fiscal_document& loaded, std::vector<DocumentRow>& rows);

}  // namespace archive
