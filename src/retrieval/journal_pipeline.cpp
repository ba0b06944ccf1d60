#include "retrieval/journal_pipeline.hpp"

#include <exception>

#include "journal/journal_loader.hpp"
#include "journal/sootv.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/failure_lines.hpp"

namespace retrieval {

void LoadAndRender(std::string_view text, journal::rq& journal, journal::control& state,
                   render::RenderContext& context, render::LineList& lines) {
  journal::LoadJournalText(text, journal, state);
  lines.clear();
  render::RenderJournal(journal, context, lines);
}

bool RenderJournalText(std::string_view journal_text, int choice, render::LineSink& lines) {
  // A fresh request window: nothing was requested by ordinal, no Z-report linked yet.
  journal::rq journal;
  journal::control state;
  const journal::sootv document_by_ordinal;
  journal::sootv document_by_z_number;
  render::RenderContext context{choice, document_by_ordinal, document_by_z_number};
  try {
    journal::LoadJournalText(journal_text, journal, state);
    render::RenderJournal(journal, context, lines);
    return true;
  } catch (const std::exception&) {
    // Whatever failed, the user sees the journal as unreadable, as after a retrieval.
    render::LineList failure;
    AppendFailureLines(failure);
    for (std::string& line : failure) lines.push_back(std::move(line));
    return false;
  }
}

bool RenderJournalText(std::string_view journal_text, int choice, render::LineList& lines) {
  lines.clear();
  render::LineSink sink(lines);
  return RenderJournalText(journal_text, choice, sink);
}

}  // namespace retrieval
