// SPDX-License-Identifier: GPL-3.0-or-later
// A journal text turned into what the journal window shows: parsed, loaded into the
// journal and rendered as the register printed it. A retrieval, talqen-cli render and the
// desktop program all go this one way. The text is read one document at a time, and each
// document is rendered as soon as it is complete and then dropped, so the journal never
// holds more than one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_container.hpp"
#include "render/packed_lines.hpp"
#include "render/render_context.hpp"
#include "render/rendering_helpers.hpp"

namespace retrieval {

// Loads the text into the journal (emptied and reset by the caller) while rendering it,
// and puts the lines in place of what lines held once the whole text has loaded. Throws
// what the loader and the renderers throw: a failed load leaves lines (and the context's
// Z-report links) as they were, a failed rendering the lines rendered before it. The
// journal keeps its number ranges, not its documents.
void LoadAndRender(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state,
                   render::RenderContext& context, render::PackedLines& lines);
void LoadAndRender(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state,
                   render::RenderContext& context, render::LineList& lines);
// The same from the lines of the text as the journal window keeps them (temp.xml holds
// each followed by CR LF), without joining them.
void LoadAndRender(std::span<const std::string> text_lines, journal::loaded_journal& journal,
                   journal::loader_state& state, render::RenderContext& context, render::PackedLines& lines);

// A saved journal text as a fresh journal window shows it with the given document-kind
// choice. A failure anywhere ends the lines with the two failure lines, and gives false;
// a failure to load shows the failure lines alone. A sink that can discard gets the
// lines as they are made; any other gets them once the whole text has loaded.
bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineSink& lines,
                       const render::Organisation& organisation = {});
// The same into a list, in place of what it held.
bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineList& lines,
                       const render::Organisation& organisation = {});

// For a program that shows lines as they come (talqen-cli render): each document goes to
// documents as soon as it is read. A text cut short or holding a bad value keeps the
// documents before it; telling the failure (and an empty journal) is the caller's.
struct ShownText {
  enum Outcome { Whole, CutShort, Unreadable, RenderingFailed };
  Outcome outcome = Whole;
  std::int32_t documents = 0;  // documents read whole
};
ShownText RenderWholeDocuments(std::string_view journal_text, render::DocumentKind kind,
                               const render::Organisation& organisation, render::LineSink& documents);

}  // namespace retrieval
