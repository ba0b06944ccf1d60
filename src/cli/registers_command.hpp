// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli registers: the chain's overview, one line per register of the centre.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

// registers --db CENTRE [--format text|csv|json]
// 0 done (a centre without registers too), 1 stdout could not be written, 2 bad usage or
// a centre that cannot be reached or lacks the central schema.
int run_registers(const Options& options, const Terminal& terminal);

}  // namespace cli
