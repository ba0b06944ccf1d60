#include "cli/register_session.hpp"

#include <filesystem>

#include "app/config_file.hpp"
#include "cli/raw_command.hpp"

namespace cli {

RegisterSession::RegisterSession(const Options& options, messages::ConsoleState& console,
                                 messages::RetrievalFlags& flags, messages::Dialogs& dialogs)
    : window_(options), procedure_(window_, console, flags, dialogs) {
  std::error_code ec;
  app::fix_program_directory(console, std::filesystem::current_path(ec).string());
  app::ensure_config_file(console.ConfigPath, dialogs);
}

RegisterSession::~RegisterSession() {
  if (procedure_.connected()) procedure_.Button3Click();
}

app::ConnectionResult RegisterSession::connect() { return procedure_.Button3Click(); }

int exit_status_of_failed(app::ConnectionResult result) {
  return result == app::ConnectionResult::PortNotOpened ? kExitUsage : kExitFailed;
}

}  // namespace cli
