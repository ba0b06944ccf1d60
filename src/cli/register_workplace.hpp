// SPDX-License-Identifier: GPL-3.0-or-later
// What every command that works with the register's tape shares: the journal window of
// the command with its connection and its progress line, the connection made around the
// work, and the question for the register's last document number.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "cli/cli_options.hpp"
#include "cli/raw_command.hpp"
#include "cli/register_session.hpp"
#include "cli/stop_signals.hpp"
#include "cli/terminal_output.hpp"
#include "cli/terminal_progress.hpp"
#include "link/datecs.hpp"
#include "messages/dialogs.hpp"
#include "render/render_context.hpp"
#include "retrieval/journal_window_logic.hpp"

namespace cli {

// The journal window of one command, its password, kind and retries from the command
// line, with its connection and its progress line.
struct Workplace {
  Workplace(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs, render::DocumentKind kind,
            const render::Organisation& organisation = {});

  TerminalProgress progress;
  retrieval::NoWindowFrame frame;
  retrieval::JournalWindowLogic window;
  RegisterSession session;
  bool quick_end;
};

// Connects, runs the work, disconnects; a failure that escapes the window's handlers is
// reported as the desktop program's default failure report would.
template <class Work>
int connected(Workplace& place, const Terminal& terminal, const std::string& command, Work work) {
  const app::ConnectionResult connection = place.session.connect();
  if (connection != app::ConnectionResult::Connected) return place.session.report_failure(connection, terminal);
  if (place.quick_end) datecs::set_quick_end(true);
  int status = kExitFailed;
  try {
    status = work();
  } catch (const std::exception& e) {
    terminal.error(terminal.typed("talqen-cli " + command + ": " + e.what()));
  }
  // Whatever a signal cut short, the exit says it was the signal.
  return StopSignals::received() != 0 ? StopSignals::exit_status() : status;
}

// That the register gave no last document number, unless the question told why already
// (stderr had more lines than lines_said_before).
void tell_no_last_number(const Terminal& terminal, int lines_said_before);

// The register's last document number (what LAST = end stands for); nothing, told on
// stderr, when the register gives none.
std::optional<std::int64_t> ask_last_number(Workplace& place, const Terminal& terminal);

}  // namespace cli
