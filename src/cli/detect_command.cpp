// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/detect_command.hpp"

#include <filesystem>

#include "app/config_file.hpp"
#include "app/register_probe.hpp"
#include "cli/raw_command.hpp"
#include "cli/stop_signals.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

int run_detect(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  bool write_config = false;
  std::vector<std::string> ports;
  for (const std::string& a : options.arguments) {
    if (a == "--write-config") {
      write_config = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return usage_error(terminal, "detect", "unknown option: " + a);
    } else {
      ports.push_back(a);
    }
  }
  if (ports.empty()) ports = device_link::list_serial_ports();

  const bool show_progress = stderr_is_terminal();
  app::RegisterProbe probe(device_link::make_platform_serial_port, device_link::system_clock());
  const auto found = probe.find(ports, [&](const app::ProbeAttempt& a) {
    if (show_progress)
      terminal.status(terminal.typed(a.port + " " + std::to_string(a.speed) + " " + (a.datecs ? "datecs" : "quendar")));
    return StopSignals::received() == 0;
  });
  if (show_progress) terminal.status("");
  if (StopSignals::received() != 0) {
    // An answer cut short by the signal proves nothing.
    terminal.error("Прервано"_cp1251);
    return StopSignals::exit_status();
  }
  if (!found) {
    terminal.error("Регистратор не найден"_cp1251);
    return kExitFailed;
  }
  terminal.line(found->port + " " + std::to_string(found->speed) + " " + (found->datecs ? "datecs" : "quendar"));
  terminal.line(found->identity);
  if (write_config) {
    // As a passed connection stores them.
    messages::ProgramState program;
    std::error_code ec;
    app::fix_program_directory(program, std::filesystem::current_path(ec).string());
    app::ensure_config_file(program.config_path, dialogs);
    app::ProfileWrite stored = app::store_port_and_speed(program.config_path, found->port, std::to_string(found->speed));
    if (stored == app::ProfileWrite::Written)
      stored = app::store_protocol(program.config_path,
                                   found->datecs ? app::ProtocolVariant::Datecs : app::ProtocolVariant::Quendar);
    if (stored != app::ProfileWrite::Written) {
      terminal.error(stored == app::ProfileWrite::Unreadable
                         ? std::string("Файл fpinit.ini не читается: порт и скорость не сохранены"_cp1251)
                         : std::string("Невозможно записать файл "_cp1251) + program.config_path);
      return kExitFailed;
    }
  }
  return kExitDone;
}

}  // namespace cli
