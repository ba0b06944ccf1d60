// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli archive: the register's tape copied into its archive file, each document
// committed as it arrives, only the numbers the archive lacks asked for, so that a run
// stopped in any way goes on where it stopped when run again.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "messages/dialogs.hpp"

namespace cli {

// archive [--db FILE] [--push CENTRE] [FIRST [LAST|end]]; with --push, the archive is
// then pushed to the centre, and the exit is the worse of the fill's and the push's.
int run_archive(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs);

}  // namespace cli
