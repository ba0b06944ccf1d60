// SPDX-License-Identifier: GPL-3.0-or-later
// The register's answer to the connection check as its archive keeps it, read from the
// result records of the program state the connection check wrote (the desktop program's
// windows may be given a state of their own).
#pragma once

#include "archive/tape_archive.hpp"
#include "messages/status_reporter.hpp"

namespace app {

archive::ConnectionAnswer connection_answer(const messages::ProgramState& program, bool datecs);

}  // namespace app
