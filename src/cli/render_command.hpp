// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli render: a saved journal text rendered as the journal window shows it after a
// retrieval. Of a text cut short, the documents that came whole are shown, and the failure
// lines follow on stderr.
#pragma once

#include <string_view>

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "render/render_context.hpp"
#include "render/rendering_helpers.hpp"

namespace cli {

// render JOURNAL.xml [--kind z|receipt|both] [-o FILE]
int run_render(const Options& options, const Terminal& terminal, const render::Organisation& organisation = {});

// The journal's documents of the chosen kind into documents, as far as the text holds
// them whole; true when the whole text was read and rendered. What is not a document
// line (the failure lines, the line of a journal without documents) goes to talk.
bool render_whole_documents(std::string_view journal_text, render::DocumentKind kind,
                            const render::Organisation& organisation, render::LineSink& documents,
                            render::LineSink& talk);

}  // namespace cli
