// talqen-cli render: a saved journal text rendered as the journal window shows it after a
// retrieval.
#pragma once

#include <string_view>

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "render/rendering_helpers.hpp"

namespace cli {

// render JOURNAL.xml [--kind z|receipt|both] [-o FILE]
int run_render(const Options& options, const Terminal& terminal);

// Parses and loads the journal text into a fresh journal and renders it with the
// document-kind choice, appending to lines. A failure anywhere leaves the lines rendered
// so far followed by the retrieval's two failure lines, and gives false.
bool RenderJournalText(std::string_view journal_text, int choice, render::LineList& lines);

}  // namespace cli
