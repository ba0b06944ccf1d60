// SPDX-License-Identifier: GPL-3.0-or-later
// A document as the tape archive keeps it, and the selection an export reads. Fiscal
// documents never change once the register has written them, so a document stored whole
// once is never asked for again.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace archive {

struct ArchivedDocument {
  std::int64_t number = 0;                // in the numbering of "Чек+Z-отчет" (document type 1)
  bool is_z_report = false;               // a Z element; otherwise a receipt (a C element)
  std::optional<std::int32_t> z_number;   // Z.NO of a Z-report
  std::string timestamp;                  // the document's TS: YYYYMMDDhhmmss, empty when it has none
  std::string text;                       // its DAT and MAC, Windows-1251 bytes exactly as they arrived
  std::string fetched_at;                 // UTC, "YYYY-MM-DDThh:mm:ssZ"
  // Why the stored row holds no document this program could have stored (a field out of
  // range, no text, a text too long to be one); empty when it holds one. Every reader
  // treats such a row as a document that cannot be read.
  std::string unreadable;
};

// Which documents an export reads, in the order a one-shot fetch of them would bring them:
// by document number, by Z-report number (Z-reports only, as `fetch --kind z` asks), or by
// the date of their TS (inclusive, "YYYYMMDD"); everything when none is given.
struct ArchiveSelection {
  enum class By { Everything, DocumentNumbers, ZReportNumbers, Dates };
  By by = By::Everything;
  std::int32_t first = 0;
  std::int32_t last = 0;
  std::string from_date;  // YYYYMMDD
  std::string to_date;    // YYYYMMDD
};

using ArchivedDocumentVisitor = std::function<void(const ArchivedDocument&)>;

}  // namespace archive
