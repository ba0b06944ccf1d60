// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli diagnose: the main window's connection check from a terminal.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "messages/dialogs.hpp"

namespace cli {

int run_diagnose(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs);

}  // namespace cli
