// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/journal_export.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/export_rows.hpp"
#include "archive/export_values.hpp"
#include "archive/loaded_document_export.hpp"

namespace archive {

namespace {

class CsvExport final : public LoadedDocumentExport {
 public:
  CsvExport(render::DocumentKind kind, ByteSink bytes) : LoadedDocumentExport(kind), bytes_(std::move(bytes)) {}

 private:
  bool write_loaded(const ArchivedDocument& document, const journal::loaded_journal&,
                    const journal::fiscal_document& loaded, std::int32_t) override {
    bool ok = start();
    document_rows(loaded, rows_);
    const std::string head = std::to_string(document.number) + "," + iso_date(loaded.ts.text) + "," +
                             iso_time(loaded.ts.text) + "," + document_kind(loaded) + ",";
    for (const DocumentRow& row : rows_) ok = ok && put_row(head, row);
    return ok;
  }
  bool close() override { return true; }

  bool start() {
    if (started_) return true;
    started_ = true;
    std::string header;
    for (std::string_view column : kRowColumns) (header += header.empty() ? "" : ",") += column;
    return bytes_(header + "\r\n");
  }

  static std::string number(const std::optional<ScaledNumber>& n) { return n ? n->text() : std::string(); }

  bool put_row(const std::string& head, const DocumentRow& row) {
    line_ = head;
    line_ += row.line_type;
    for (const std::string& field : {row.name, number(row.quantity), number(row.price), number(row.amount),
                                     row.tax_letter}) {
      line_ += ',';
      line_ += csv_field(field);
    }
    line_ += "\r\n";
    return bytes_(line_);
  }

  ByteSink bytes_;
  std::vector<DocumentRow> rows_;
  std::string line_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<JournalExport> csv_export(render::DocumentKind kind, ByteSink bytes) {
  return std::make_unique<CsvExport>(kind, std::move(bytes));
}

}  // namespace archive
