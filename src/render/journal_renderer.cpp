// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/journal_renderer.hpp"

#include "render/receipt_renderer.hpp"
#include "render/z_report_renderer.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace render {

bool RenderDocument(const journal::loaded_journal& journal, const journal::fiscal_document& document,
                    std::int32_t index, RenderContext& context, LineSink& lines) {
  if (!ShowsDocument(context.kind, document.is_receipt)) return false;
  if (document.is_receipt)
    RenderReceipt(journal, document, lines, context.organisation);
  else
    RenderZReport(journal, document, index, context, lines);
  return true;
}

void RenderJournal(const journal::loaded_journal& journal, RenderContext& context, LineSink& lines) {
  using enum DocumentKind;
  if (context.kind == Both) context.document_by_z_number.clear();
  const std::int32_t count = journal.doc_count;
  if (count <= 0) {
    lines.emplace_back("Запрашиваемые данные отсутствуют!"_cp1251);
    return;
  }
  if (context.kind == None) return;
  for (std::int32_t i = 0; i < count; ++i) RenderDocument(journal, EntryOrInitial(journal.documents, i), i, context, lines);
}

}  // namespace render
