// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli central init: the chain's central database made ready for the shops' pushes
// and the back office's reading.
#pragma once

#include <string>

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

// central init --to CENTRE
// 0 made, or there already; 2 bad usage, a centre that cannot be reached or that refuses
// (a later schema, no right to make it).
int run_central(const Options& options, const Terminal& terminal);

// A message of the centre's (UTF-8, the server's words) on stderr.
void tell_centre_error(const Terminal& terminal, const std::string& command, const std::string& utf8);

}  // namespace cli
