// SPDX-License-Identifier: GPL-3.0-or-later
// A Z-report document as the lines of the register's daily report.
#pragma once

#include <cstdint>

#include "journal/journal_container.hpp"
#include "render/render_context.hpp"
#include "render/rendering_helpers.hpp"

namespace render {

// Appends the lines of Z-report document `document`, the index-th of `journal`, and in
// the mode kBoth links its number to the requested document number. Failures as for
// RenderReceipt.
void RenderZReport(const journal::loaded_journal& journal, const journal::fiscal_document& document, std::int32_t index,
                   RenderContext& context, LineSink& lines);
inline void RenderZReport(const journal::loaded_journal& journal, const journal::fiscal_document& document, std::int32_t index,
                          RenderContext& context, LineList& lines) {
  LineSink sink(lines);
  RenderZReport(journal, document, index, context, sink);
}

}  // namespace render
