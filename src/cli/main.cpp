// SPDX-License-Identifier: GPL-3.0-or-later
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/config_file.hpp"
#include "cli/archive_command.hpp"
#include "cli/central_command.hpp"
#include "cli/cli_dialogs.hpp"
#include "cli/cli_options.hpp"
#include "cli/detect_command.hpp"
#include "cli/export_command.hpp"
#include "cli/push_command.hpp"
#include "cli/registers_command.hpp"
#include "cli/diagnose_command.hpp"
#include "cli/raw_command.hpp"
#include "cli/render_command.hpp"
#include "cli/retrieval_commands.hpp"
#include "cli/stop_signals.hpp"
#include "cli/terminal_output.hpp"
#include "cli/verify_command.hpp"
#include "link/serial_port.hpp"

namespace {

// The commands that work with the register, and so take the stored connection settings.
bool connects(const std::string& command) {
  return command == "raw" || command == "diagnose" || command == "fetch" || command == "fetch-dates" ||
         command == "numbers" || command == "print" || command == "archive";
}

int usage_error(const std::string& error) {
  std::fprintf(stderr, "talqen-cli: %s\n%.*s\n", error.c_str(), static_cast<int>(cli::kHelpHint.size()),
               cli::kHelpHint.data());
  return cli::kExitUsage;
}

int run(cli::Options& options, const cli::Terminal& terminal, cli::CliDialogs& dialogs) {
  const std::string& command = options.command;
  if (command == "ports") {
    for (const std::string& port : device_link::list_serial_ports()) terminal.line(port);
    return cli::kExitDone;
  }
  messages::ProgramState& program = messages::program_state();
  std::error_code ec;
  app::fix_program_directory(program, std::filesystem::current_path(ec).string());
  if (command == "render") return cli::run_render(options, terminal, app::stored_organisation(program.config_path));
  if (command == "export") {
    // Offline: a signal stops it between two documents, and no file is written.
    const cli::StopSignals signals;
    return cli::run_export(options, terminal, app::stored_organisation(program.config_path));
  }
  if (command == "verify") {
    const cli::StopSignals signals;
    return cli::run_verify(options, terminal);
  }
  if (command == "central") return cli::run_central(options, terminal);
  if (command == "push") {
    // A signal stops it after the batch underway; what was committed stays.
    const cli::StopSignals signals;
    return cli::run_push(options, terminal);
  }
  if (command == "registers") return cli::run_registers(options, terminal);
  if (command == "detect") {
    const cli::StopSignals signals;
    return cli::run_detect(options, terminal, dialogs);
  }
  if (!connects(command)) {
    terminal.error(terminal.typed("talqen-cli: " + (command.empty() ? "no command given" : "unknown command: " + command)));
    terminal.error(cli::kHelpHint);
    return cli::kExitUsage;
  }

  // Read only: the file is made when a connection is made, not for a usage error.
  cli::use_stored_settings(options, program.config_path);
  const cli::StopSignals signals;
  if (command == "raw") return cli::run_raw(options, terminal);
  if (command == "diagnose") return cli::run_diagnose(options, terminal, dialogs);
  if (command == "numbers") return cli::run_numbers(options, terminal, dialogs);
  if (command == "print") return cli::run_print(options, terminal, dialogs);
  if (command == "archive") return cli::run_archive(options, terminal, dialogs);
  const render::Organisation organisation = app::stored_organisation(program.config_path);
  if (command == "fetch") return cli::run_fetch(options, terminal, dialogs, organisation);
  return cli::run_fetch_dates(options, terminal, dialogs, organisation);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  cli::ParseResult parsed = cli::parse_command_line(args);
  if (!parsed.options) return usage_error(parsed.error);
  cli::Options& options = *parsed.options;
  if (options.version) {
    std::fputs(cli::version_text().c_str(), stdout);
    return cli::kExitDone;
  }
  if (options.help) {
    if (options.command.empty()) {
      std::fputs(cli::usage_text().c_str(), stdout);
      return cli::kExitDone;
    }
    const std::string help = cli::command_help(options.command);
    if (help.empty()) return usage_error("unknown command: " + options.command);
    std::fputs(help.c_str(), stdout);
    return cli::kExitDone;
  }
#ifdef _WIN32
  // The console shows the bytes talqen-cli writes in the encoding it was asked for.
  const UINT code_page = options.encoding == cli::Encoding::Cp1251 ? 1251 : CP_UTF8;
  ::SetConsoleOutputCP(code_page);
  ::SetConsoleCP(code_page);
#endif
  const cli::Terminal terminal(options.encoding);
  cli::CliDialogs dialogs(terminal, options);
  messages::set_program_dialogs(&dialogs);
  int status = run(options, terminal, dialogs);
  if (cli::StopSignals::received() != 0) status = cli::StopSignals::exit_status();
  // A failure is never silent.
  if (status != cli::kExitDone && terminal.error_lines() == 0) {
    if (cli::StopSignals::received() != 0)
      terminal.error(terminal.typed("Прервано"));
    else
      terminal.error(terminal.typed("talqen-cli " + options.command + ": failed (exit status " + std::to_string(status) + ")"));
  }
  messages::set_program_dialogs(nullptr);
  return status;
}
