// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/journal_export.hpp"

#include "archive/loaded_document_export.hpp"
#include "journal/number_map.hpp"
#include "render/journal_renderer.hpp"

namespace archive {

namespace {

class TextExport final : public LoadedDocumentExport {
 public:
  TextExport(render::DocumentKind kind, const render::Organisation& organisation, render::LineSink& lines)
      : LoadedDocumentExport(kind), context_{kind, document_by_ordinal_, document_by_z_number_, organisation},
        lines_(lines) {}

 private:
  bool write_loaded(const ArchivedDocument&, const journal::loaded_journal& journal,
                    const journal::fiscal_document& loaded, std::int32_t index) override {
    render::RenderDocument(journal, loaded, index, context_, lines_);
    return true;
  }
  bool close() override { return true; }

  // As a fresh journal window has them: nothing requested by ordinal, so no Z-report linked.
  const journal::number_map document_by_ordinal_;
  journal::number_map document_by_z_number_;
  render::RenderContext context_;
  render::LineSink& lines_;
};

}  // namespace

std::unique_ptr<JournalExport> text_export(render::DocumentKind kind, const render::Organisation& organisation,
                                           render::LineSink& lines) {
  return std::make_unique<TextExport>(kind, organisation, lines);
}

}  // namespace archive
