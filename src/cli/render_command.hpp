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

}  // namespace cli
