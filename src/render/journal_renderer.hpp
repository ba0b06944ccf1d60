// SPDX-License-Identifier: GPL-3.0-or-later
// The walk over a loaded journal: every document of the chosen kind, in journal order.
#pragma once

#include "journal/journal_container.hpp"
#include "render/render_context.hpp"
#include "render/rendering_helpers.hpp"

namespace render {

// Appends the lines of the document at index when the context's choice shows its kind;
// false, appending nothing, when it does not.
bool RenderDocument(const journal::loaded_journal& journal, const journal::fiscal_document& document,
                    std::int32_t index, RenderContext& context, LineSink& lines);

// Appends the lines of the whole journal, or for a journal without documents the one
// line "Запрашиваемые данные отсутствуют!". In the mode kBoth it first empties
// document_by_z_number. A failure of a renderer passes through; the lines appended
// before stay.
void RenderJournal(const journal::loaded_journal& journal, RenderContext& context, LineSink& lines);
inline void RenderJournal(const journal::loaded_journal& journal, RenderContext& context, LineList& lines) {
  LineSink sink(lines);
  RenderJournal(journal, context, sink);
}

}  // namespace render
