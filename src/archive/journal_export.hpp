// SPDX-License-Identifier: GPL-3.0-or-later
// Archived documents written out in one of five forms, one document at a time, so that an
// export of a whole tape never holds more than the document being written:
//   xml   the journal text a one-shot fetch of the same documents writes to temp.xml;
//   text  the lines fetch and render show for that journal text;
//   csv   one row per receipt line and per Z-report total, RFC 4180, UTF-8;
//   json  one array of documents as objects, UTF-8;
//   xlsx  a workbook of documents, Z-report totals and the csv rows (xlsx_export.hpp).
// Every form but xml reads each document through the journal loader, so its values are
// those the renderers read.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "archive/archived_document.hpp"
#include "render/render_context.hpp"
#include "render/rendering_helpers.hpp"

namespace archive {

enum class ExportFormat { Xml, Text, Csv, Json, Xlsx };

// "xml", "text", "csv", "json" or "xlsx", in any case.
std::optional<ExportFormat> export_format_named(std::string_view name);

// Takes the export's bytes in order; false when they could not be written.
using ByteSink = std::function<bool(std::string_view bytes)>;

// Why an export stopped: the document it could not read or render.
struct ExportFailure {
  std::int64_t document_number = 0;
  std::string reason;  // Windows-1251: it may quote the journal's text
  bool write_failed = false;  // the sink refused the bytes
};

class JournalExport {
 public:
  virtual ~JournalExport() = default;

  // Writes one document, if it is of the chosen kind. A document that cannot be read (a
  // row out of range, no text, a text that holds no whole document or fails to parse),
  // whatever its kind, fails the export there; once it has failed, later documents are
  // ignored.
  void add(const ArchivedDocument& document);
  // Completes the output (closing element, closing bracket). True when every document
  // added went out whole. An export that wrote no document writes nothing at all, not
  // even a header: the caller tells that nothing was selected.
  bool finish();

  // Documents written so far: of the chosen kind, read whole.
  std::int64_t documents_written() const { return written_; }
  const std::optional<ExportFailure>& failure() const { return failure_; }

 protected:
  // Each returns false when the sink refused the bytes; reading failures are thrown.
  virtual bool write(const ArchivedDocument& document) = 0;
  virtual bool close() = 0;

  std::int64_t written_ = 0;

 private:
  std::optional<ExportFailure> failure_;
};

// Each document's line between the declaration with <RQ V="1"> and </RQ>, every line
// ended by CR LF, as temp.xml is saved. All documents, whatever their kind: fetch keeps
// every document of its span in temp.xml.
std::unique_ptr<JournalExport> xml_export(ByteSink bytes);

// The rendered lines of the documents of the chosen kind, Windows-1251, one call of
// lines per line. The head of every document names the fiscal number of the first, as
// the rendering of one journal text does.
std::unique_ptr<JournalExport> text_export(render::DocumentKind kind, const render::Organisation& organisation,
                                           render::LineSink& lines);

// A header row, then rows of the documents of the chosen kind.
std::unique_ptr<JournalExport> csv_export(render::DocumentKind kind, ByteSink bytes);

// [ document, document, ... ] of the documents of the chosen kind.
std::unique_ptr<JournalExport> json_export(render::DocumentKind kind, ByteSink bytes);

// The pieces of the csv and json forms, for their tests.
std::string csv_field(std::string_view utf8);
std::string json_string(std::string_view utf8);
// A whole number of hundredths (amounts, rates in hundredths of a percent) or thousandths
// (quantities) as a decimal with that many places: 1200 with 2 places is "12.00", -5 is
// "-0.05". A value that is not whole is rounded, ties away from zero.
std::string scaled_decimal(double value, int places);
// The same of a whole number, exactly: 123456789 with 2 places is "1234567.89".
std::string decimal_text(std::int64_t units, int places);

}  // namespace archive
