// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli detect: which port, speed and protocol variant the register answers on.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "messages/dialogs.hpp"

namespace cli {

// detect [PORT...] [--write-config]: the given ports, or every serial device present.
int run_detect(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs);

}  // namespace cli
