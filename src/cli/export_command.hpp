// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli export: documents of a tape archive written out offline, without a port, as
// the journal text of a fetch (xml), its rendered lines (text), CSV rows or JSON objects.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "render/render_context.hpp"

namespace cli {

// export --db FILE [FIRST LAST | --from DD.MM.YY --to DD.MM.YY] [--kind z|receipt|both]
//        --format xml|text|csv|json [-o FILE]
int run_export(const Options& options, const Terminal& terminal, const render::Organisation& organisation = {});

}  // namespace cli
