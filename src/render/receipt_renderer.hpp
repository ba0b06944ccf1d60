// SPDX-License-Identifier: GPL-3.0-or-later
// A receipt document as the lines of the register's receipt tape.
#pragma once

#include "journal/journal_container.hpp"
#include "render/rendering_helpers.hpp"

namespace render {

// Appends the lines of receipt document `document` of `journal`. A tax group that is no
// integer throws journal::ConversionError, a value that does not fit its line IndexError;
// the lines appended before stay.
void RenderReceipt(const journal::loaded_journal& journal, const journal::fiscal_document& document, LineSink& lines,
                   const Organisation& organisation = {});
inline void RenderReceipt(const journal::loaded_journal& journal, const journal::fiscal_document& document, LineList& lines,
                          const Organisation& organisation = {}) {
  LineSink sink(lines);
  RenderReceipt(journal, document, sink, organisation);
}

}  // namespace render
