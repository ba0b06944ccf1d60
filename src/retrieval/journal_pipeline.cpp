// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/journal_pipeline.hpp"

#include <exception>
#include <type_traits>
#include <utility>

#include "journal/journal_loader.hpp"
#include "journal/number_map.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/failure_lines.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace retrieval {

namespace {

// Loads the text and renders each document as the loader closes it, as RenderJournal
// would over the loaded journal. The first rendering failure stops the rendering, not the
// load: a load failure later in the text still decides the outcome. The Z-report links
// are made in a map of their own, handed over only when the whole text has loaded.
// Returns the rendering failure, if any; throws the load failure.
template <class Text>
std::exception_ptr LoadRendering(const Text& text, journal::loaded_journal& journal, journal::loader_state& state,
                                 render::RenderContext& context, journal::number_map& z_links,
                                 render::LineSink& lines, bool tell_empty = true) {
  render::RenderContext fresh{context.kind, context.document_by_ordinal, z_links, context.organisation};
  std::exception_ptr failure;
  const journal::document_closed render_document = [&](std::int32_t index) {
    if (failure || context.kind == render::DocumentKind::None) return;
    try {
      render::RenderDocument(journal, render::EntryOrInitial(journal.documents, index), index, fresh, lines);
    } catch (...) {
      failure = std::current_exception();
    }
  };
  journal::LoadJournalText(text, journal, state, render_document);
  if (journal.doc_count <= 0 && tell_empty) lines.emplace_back(text::say(TALQEN_PHRASE("JournalWindow", "Запрашиваемые данные отсутствуют!")));
  return failure;
}

template <class Text, class Lines>
void LoadAndRenderInto(const Text& text, journal::loaded_journal& journal, journal::loader_state& state,
                       render::RenderContext& context, Lines& lines) {
  render::PackedLines fresh;
  render::LineSink sink(fresh);
  journal::number_map z_links;
  const std::exception_ptr failure = LoadRendering(text, journal, state, context, z_links, sink);
  if (context.kind == render::DocumentKind::Both) context.document_by_z_number = std::move(z_links);
  if constexpr (std::is_same_v<Lines, render::PackedLines>) {
    lines.swap(fresh);
  } else {
    lines.clear();
    lines.reserve(fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) lines.emplace_back(fresh[i]);
  }
  if (failure) std::rethrow_exception(failure);
}

void AppendFailure(render::LineSink& lines) {
  render::LineList failure;
  AppendFailureLines(failure);
  for (std::string& line : failure) lines.push_back(std::move(line));
}

}  // namespace

void LoadAndRender(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state,
                   render::RenderContext& context, render::PackedLines& lines) {
  LoadAndRenderInto(text, journal, state, context, lines);
}

void LoadAndRender(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state,
                   render::RenderContext& context, render::LineList& lines) {
  LoadAndRenderInto(text, journal, state, context, lines);
}

void LoadAndRender(std::span<const std::string> text_lines, journal::loaded_journal& journal,
                   journal::loader_state& state, render::RenderContext& context, render::PackedLines& lines) {
  LoadAndRenderInto(text_lines, journal, state, context, lines);
}

bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineSink& lines,
                       const render::Organisation& organisation) {
  // A fresh journal window: nothing was requested by ordinal, no Z-report linked yet.
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::number_map document_by_ordinal;
  journal::number_map document_by_z_number;
  render::RenderContext context{kind, document_by_ordinal, document_by_z_number, organisation};
  // Lines a failed load would take back are held here unless the sink can take them back.
  render::PackedLines held;
  render::LineSink hold(held);
  render::LineSink& target = lines.can_discard() ? lines : hold;
  std::exception_ptr failure;
  try {
    failure = LoadRendering(journal_text, journal, state, context, document_by_z_number, target);
  } catch (const std::exception&) {
    // A text that cannot be loaded shows nothing of what it held.
    if (&target == &lines) lines.discard();
    AppendFailure(lines);
    return false;
  }
  if (&target == &hold)
    for (std::size_t i = 0; i < held.size(); ++i) lines.push_back(std::string(held[i]));
  // A rendering failure keeps the lines before it; the user sees the journal as
  // unreadable, as after a retrieval.
  if (failure) AppendFailure(lines);
  return !failure;
}

bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineList& lines,
                       const render::Organisation& organisation) {
  lines.clear();
  render::LineSink sink(lines);
  return RenderJournalText(journal_text, kind, sink, organisation);
}

ShownText RenderWholeDocuments(std::string_view journal_text, render::DocumentKind kind,
                               const render::Organisation& organisation, render::LineSink& documents) {
  // A fresh journal window: nothing was requested by ordinal, no Z-report linked yet.
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::number_map document_by_ordinal;
  journal::number_map document_by_z_number;
  journal::number_map z_links;
  render::RenderContext context{kind, document_by_ordinal, document_by_z_number, organisation};
  ShownText shown;
  try {
    if (LoadRendering(journal_text, journal, state, context, z_links, documents, false))
      shown.outcome = ShownText::RenderingFailed;
  } catch (const journal::JournalError&) {
    // The documents before the cut or the bad value went out whole.
    shown.outcome = journal.doc_count > 0 ? ShownText::CutShort : ShownText::Unreadable;
  }
  shown.documents = journal.doc_count;
  return shown;
}

}  // namespace retrieval
