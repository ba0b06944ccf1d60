#include "retrieval/journal_pipeline.hpp"

#include <exception>

#include "journal/journal_loader.hpp"
#include "journal/sootv.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/failure_lines.hpp"

namespace retrieval {

void LoadAndRender(const journal::dom::Document& text, journal::rq& journal, journal::control& state,
                   render::RenderContext& context, render::LineList& lines) {
  journal::LoadJournal(text.root(), journal, state);
  lines.clear();
  render::RenderJournal(journal, context, lines);
}

bool RenderJournalText(std::string_view journal_text, int choice, render::LineList& lines) {
  // A fresh request window: nothing was requested by ordinal, no Z-report linked yet.
  journal::rq journal;
  journal::control state;
  const journal::sootv document_by_ordinal;
  journal::sootv document_by_z_number;
  render::RenderContext context{choice, document_by_ordinal, document_by_z_number};
  lines.clear();
  try {
    LoadAndRender(journal::dom::Document::parse(journal_text), journal, state, context, lines);
    return true;
  } catch (const std::exception&) {
    // Whatever failed, the user sees the journal as unreadable, as after a retrieval.
    AppendFailureLines(lines);
    return false;
  }
}

}  // namespace retrieval
