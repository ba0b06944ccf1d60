// SPDX-License-Identifier: GPL-3.0-or-later
// The documents of the chosen kind as an Excel workbook, for the people who read a tape in
// a spreadsheet. Sheets, each with a bold frozen header row, an autofilter and column
// widths fitted to what they hold:
//   "Документи"  one row per document;
//   "Z-звіти"    one row per Z-report and payment form, and per Z-report and tax group;
//   "Рядки"      the rows of the csv form, numbers as number cells, dates as date cells.
// A sheet that is full goes on in "NAME (2)", "NAME (3)", ... with the same header.
// The workbook is written by libxlsxwriter in its constant-memory mode: the rows go to
// temporary files beside the workbook as they come, one document at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "archive/journal_export.hpp"

namespace archive {

// The rows of an Excel sheet, its header row among them.
inline constexpr std::int64_t kSheetRows = 1048576;

// The versions of libxlsxwriter and of the zlib it compresses through ("1.1.4", "1.2.13").
std::string xlsxwriter_version();
std::string zlib_library_version();

// Writes the workbook to path when the export finishes (nothing for an export that wrote
// no document); rows_per_sheet, the header included, is at least 2.
std::unique_ptr<JournalExport> xlsx_export(render::DocumentKind kind, const std::filesystem::path& path,
                                           std::int64_t rows_per_sheet = kSheetRows);

}  // namespace archive
