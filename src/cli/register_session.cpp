// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/register_session.hpp"

#include <filesystem>

#include "app/config_file.hpp"
#include "cli/raw_command.hpp"
#include "cli/stop_signals.hpp"
#include "link/quendar.hpp"
#include "messages/status_word.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

RegisterSession::RegisterSession(const Options& options, messages::ProgramState& program,
                                 messages::RetrievalFlags& flags, messages::Dialogs& dialogs)
    : options_(options), program_(program), window_(options), procedure_(window_, program, flags, dialogs) {
  std::error_code ec;
  app::fix_program_directory(program, std::filesystem::current_path(ec).string());
  app::ensure_config_file(program.config_path, dialogs);
}

RegisterSession::~RegisterSession() {
  if (procedure_.connected()) procedure_.disconnect();
}

app::ConnectionResult RegisterSession::connect() { return procedure_.connect(); }

int RegisterSession::report_failure(app::ConnectionResult result, const Terminal& terminal) const {
  if (StopSignals::received() != 0) {
    terminal.error("Прервано"_cp1251);
    return StopSignals::exit_status();
  }
  if (result == app::ConnectionResult::PortNotOpened) return kExitUsage;  // the procedure said why
  if (!window_.status.empty()) terminal.error(window_.status);
  const datecs::RetData& check =
      options_.protocol == Protocol::Datecs ? program_.last_datecs_result : quendar::last_result();
  if ((check.Status & status::kLinkBits) != 0)
    terminal.error("Проверьте скорость и вариант протокола: их находит talqen-cli detect"_cp1251);
  return exit_status_of_failed(result);
}

int exit_status_of_failed(app::ConnectionResult result) {
  if (StopSignals::received() != 0) return StopSignals::exit_status();
  return result == app::ConnectionResult::PortNotOpened ? kExitUsage : kExitFailed;
}

}  // namespace cli
