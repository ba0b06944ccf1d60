#include "cli/diagnose_command.hpp"

#include "cli/raw_command.hpp"
#include "cli/register_session.hpp"

namespace cli {

int run_diagnose(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  if (options.port.empty() || !options.arguments.empty()) {
    terminal.error("diagnose needs --port and takes no arguments");
    return kExitUsage;
  }
  RegisterSession session(options, messages::program_state(), messages::retrieval_flags(), dialogs);
  const app::ConnectionResult result = session.connect();
  if (result == app::ConnectionResult::PortNotOpened) return kExitUsage;
  terminal.line(session.status());
  return result == app::ConnectionResult::Connected ? kExitDone : kExitFailed;
}

}  // namespace cli
