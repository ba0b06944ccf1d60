#include "retrieval/journal_pipeline.hpp"

#include <exception>

#include "journal/journal_loader.hpp"
#include "journal/number_map.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/failure_lines.hpp"

namespace retrieval {

void LoadAndRender(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state,
                   render::RenderContext& context, render::LineList& lines) {
  journal::LoadJournalText(text, journal, state);
  lines.clear();
  render::RenderJournal(journal, context, lines);
}

bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineSink& lines,
                       const render::Organisation& organisation) {
  // A fresh journal window: nothing was requested by ordinal, no Z-report linked yet.
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::number_map document_by_ordinal;
  journal::number_map document_by_z_number;
  render::RenderContext context{kind, document_by_ordinal, document_by_z_number, organisation};
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

bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineList& lines,
                       const render::Organisation& organisation) {
  lines.clear();
  render::LineSink sink(lines);
  return RenderJournalText(journal_text, kind, sink, organisation);
}

}  // namespace retrieval
