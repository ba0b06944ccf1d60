// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/journal_export.hpp"

#include <exception>

namespace archive {

std::optional<ExportFormat> export_format_named(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  if (lower == "xml") return ExportFormat::Xml;
  if (lower == "text") return ExportFormat::Text;
  if (lower == "csv") return ExportFormat::Csv;
  if (lower == "json") return ExportFormat::Json;
  if (lower == "xlsx") return ExportFormat::Xlsx;
  return std::nullopt;
}

void JournalExport::add(const ArchivedDocument& document) {
  if (failure_) return;
  // A row that holds no document fails the export as a text that cannot be read does.
  if (!document.unreadable.empty()) {
    failure_ = ExportFailure{document.number, document.unreadable, false};
    return;
  }
  try {
    if (!write(document)) failure_ = ExportFailure{document.number, "cannot be written", true};
  } catch (const std::exception& e) {
    failure_ = ExportFailure{document.number, e.what(), false};
  }
}

bool JournalExport::finish() {
  if (failure_) return false;
  if (!close()) failure_ = ExportFailure{0, "cannot be written", true};
  return !failure_;
}

}  // namespace archive
