// SPDX-License-Identifier: GPL-3.0-or-later
// "Проверка архива" as a table a person reads, in the user's language: one row per
// finding and then one per note, each in the verification's order; the documents, the
// Z-report, what is wrong as a sentence, the expected and found values and their
// difference, amounts as money with two decimals from their whole hundredths. Above the
// table, the summary as a sentence. What "Сохранить" writes stays the lines of
// `talqen-cli verify` (VerificationReport::text_lines).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/verification_report.hpp"

namespace app {

struct VerificationTable {
  enum Column : std::size_t { Documents, ZReport, What, Expected, Found, Difference, kColumns };
  struct Row {
    bool note = false;  // shown more quietly than a finding
    std::int32_t first_document = 0, last_document = 0;
    std::array<std::string, kColumns> cells;  // Windows-1251
  };
  std::vector<Row> rows;
  std::string summary;  // "Документов 33, Z-отчетов 3, проверено 2, расхождений нет"
};

// A column's title (Windows-1251).
std::string column_title(VerificationTable::Column column);

// The table of a report, in the language of the program's catalogue now.
VerificationTable verification_table(const VerificationReport& report);

// "Документов 33, Z-отчетов 3, проверено 2, расхождений нет" (or "расхождений 6").
std::string summary_sentence(const archive::VerificationSummary& summary);

}  // namespace app
