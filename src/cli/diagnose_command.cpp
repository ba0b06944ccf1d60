// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/diagnose_command.hpp"

#include "cli/raw_command.hpp"
#include "cli/register_session.hpp"

namespace cli {

int run_diagnose(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  if (options.port.empty() || !options.arguments.empty()) {
    return usage_error(terminal, "diagnose", "needs --port (or Port= in fpinit.ini) and takes no arguments");
  }
  RegisterSession session(options, messages::program_state(), messages::retrieval_flags(), dialogs);
  const app::ConnectionResult result = session.connect();
  if (result != app::ConnectionResult::Connected) return session.report_failure(result, terminal);
  terminal.line(session.status());
  return kExitDone;
}

}  // namespace cli
