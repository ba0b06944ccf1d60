#include "render/journal_renderer.hpp"

#include "render/receipt_renderer.hpp"
#include "render/z_report_renderer.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace render {

void RenderJournal(const journal::loaded_journal& journal, RenderContext& context, LineSink& lines) {
  using enum DocumentKind;
  if (context.kind == Both) context.document_by_z_number.clear();
  const std::int32_t count = journal.doc_count;
  if (count <= 0) {
    lines.emplace_back("Запрашиваемые данные отсутствуют!"_cp1251);
    return;
  }
  const bool receipts = context.kind == Receipts || context.kind == Both;
  const bool zreports = context.kind == ZReports || context.kind == Both;
  if (!receipts && !zreports) return;
  for (std::int32_t i = 0; i < count; ++i) {
    const journal::fiscal_document& document = EntryOrInitial(journal.documents, i);
    if (document.is_receipt) {
      if (receipts) RenderReceipt(journal, document, lines, context.organisation);
    } else if (zreports) {
      RenderZReport(journal, document, i, context, lines);
    }
  }
}

}  // namespace render
