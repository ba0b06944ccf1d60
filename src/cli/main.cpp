#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_dialogs.hpp"
#include "cli/cli_options.hpp"
#include "cli/detect_command.hpp"
#include "cli/diagnose_command.hpp"
#include "cli/raw_command.hpp"
#include "cli/render_command.hpp"
#include "cli/retrieval_commands.hpp"
#include "cli/terminal_output.hpp"
#include "link/serial_port.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const cli::ParseResult parsed = cli::parse_command_line(args);
  if (!parsed.options) {
    std::fprintf(stderr, "talqen-cli: %s\n%s", parsed.error.c_str(), cli::usage_text().c_str());
    return cli::kExitUsage;
  }
  const cli::Options& options = *parsed.options;
  if (options.help) {
    std::fputs(cli::usage_text().c_str(), stdout);
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
  if (options.command == "ports") {
    for (const std::string& port : device_link::list_serial_ports()) terminal.line(port);
    return cli::kExitDone;
  }
  if (options.command == "raw") return cli::run_raw(options, terminal);
  if (options.command == "diagnose") return cli::run_diagnose(options, terminal, dialogs);
  if (options.command == "render") return cli::run_render(options, terminal);
  if (options.command == "fetch") return cli::run_fetch(options, terminal, dialogs);
  if (options.command == "fetch-dates") return cli::run_fetch_dates(options, terminal, dialogs);
  if (options.command == "numbers") return cli::run_numbers(options, terminal, dialogs);
  if (options.command == "print") return cli::run_print(options, terminal, dialogs);
  if (options.command == "detect") return cli::run_detect(options, terminal, dialogs);

  std::fprintf(stderr, "talqen-cli: %s\n%s",
               options.command.empty() ? "no command given" : ("unknown command: " + options.command).c_str(),
               cli::usage_text().c_str());
  return cli::kExitUsage;
}
