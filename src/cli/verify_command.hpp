// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli verify: whether the tape in an archive is whole and each Z-report adds up
// to the receipts of its shift, offline.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

// verify --db FILE [FIRST LAST|end | --from DD.MM.YY --to DD.MM.YY] [--format text|json]
// 0 nothing found, 1 something found (or nothing selected), 2 bad usage or an archive
// that cannot be read.
int run_verify(const Options& options, const Terminal& terminal);

}  // namespace cli
