// SPDX-License-Identifier: GPL-3.0-or-later
// Any journal text through the parser, the loader and the renderer, as a retrieval and
// talqen-cli render take it: a failure is reported with the failure lines; a crash, an
// overrun or a failure that escapes is not allowed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "render/render_context.hpp"
#include "retrieval/journal_pipeline.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  render::LineList lines;
  const bool shown = retrieval::RenderJournalText(text, render::DocumentKindOfItem(static_cast<int>(size % 3)), lines);
  if (!shown && lines.size() < 2) __builtin_trap();
  return 0;
}
