// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli push: what a register's archive holds that the chain's central database
// does not, sent there; the archive is only read.
#pragma once

#include <string>

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

// push --db FILE --to CENTRE
// 0 everything went in; 1 a conflict, a row of the archive that cannot be read, or the
// centre knows the register by another fiscal number; 2 bad usage, an archive that
// cannot be opened, a centre that cannot be reached or lacks the schema.
int run_push(const Options& options, const Terminal& terminal);

// Whether --to names a centre whose address can be used; the usage problem otherwise.
std::string centre_problem(const std::string& option, const std::string& value);

// The push of the archive FILE into CENTRE, both checked already; prints
// "pushed N, held H, conflicts C". `command` names the command in messages.
int push_archive_file(const std::string& file, const std::string& centre, const Terminal& terminal,
                      const std::string& command);

}  // namespace cli
