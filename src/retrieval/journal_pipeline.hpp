// A journal text turned into what the journal window shows: parsed, loaded into the
// journal and rendered as the register printed it. A retrieval, talqen-cli render and the
// desktop program all go this one way. The text is read one document at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_container.hpp"
#include "render/render_context.hpp"
#include "render/rendering_helpers.hpp"

namespace retrieval {

// Loads the text into the journal (emptied and reset by the caller), then empties lines
// and renders the journal into them. Throws what the loader and the renderers throw: a
// failed load leaves lines as they were, a failed rendering the lines rendered before it.
void LoadAndRender(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state,
                   render::RenderContext& context, render::LineList& lines);

// A saved journal text as a fresh journal window shows it with the given document-kind
// choice, the lines handed to the sink as they are made. A failure anywhere ends them
// with the two failure lines, and gives false.
bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineSink& lines,
                       const render::Organisation& organisation = {});
// The same into a list, in place of what it held.
bool RenderJournalText(std::string_view journal_text, render::DocumentKind kind, render::LineList& lines,
                       const render::Organisation& organisation = {});

}  // namespace retrieval
