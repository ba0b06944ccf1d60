#include "cli/register_session.hpp"

#include <filesystem>

#include "app/config_file.hpp"
#include "cli/raw_command.hpp"

namespace cli {

RegisterSession::RegisterSession(const Options& options, messages::ProgramState& program,
                                 messages::RetrievalFlags& flags, messages::Dialogs& dialogs)
    : window_(options), procedure_(window_, program, flags, dialogs) {
  std::error_code ec;
  app::fix_program_directory(program, std::filesystem::current_path(ec).string());
  app::ensure_config_file(program.config_path, dialogs);
}

RegisterSession::~RegisterSession() {
  if (procedure_.connected()) procedure_.disconnect();
}

app::ConnectionResult RegisterSession::connect() { return procedure_.connect(); }

int exit_status_of_failed(app::ConnectionResult result) {
  return result == app::ConnectionResult::PortNotOpened ? kExitUsage : kExitFailed;
}

}  // namespace cli
