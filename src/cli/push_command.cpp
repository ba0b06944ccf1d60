// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/push_command.hpp"

#include <chrono>
#include <cstdio>
#include <optional>

#include "archive/central_push.hpp"
#include "archive/centre_address.hpp"
#include "archive/tape_archive.hpp"
#include "cli/central_command.hpp"
#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "cli/stop_signals.hpp"
#include "cli/terminal_progress.hpp"
#include "text/cp1251.hpp"

namespace cli {

std::string centre_problem(const std::string& option, const std::string& value) {
  if (value.empty()) return option + " needs CENTRE (postgresql://..., postgres://... or service=NAME)";
  if (!archive::names_centre(value))
    return option + " " + value + " names no central database (postgresql://..., postgres://... or service=NAME)";
  std::string error;
  if (!archive::centre_address(value, error)) return error;
  return {};
}

int push_archive_file(const std::string& file, const std::string& centre, const Terminal& terminal,
                      const std::string& command) {
  std::string error;
  const std::optional<archive::CentreAddress> address = archive::centre_address(centre, error);
  if (!address) return usage_error(terminal, command, error);
  std::optional<archive::TapeArchive> tape;
  try {
    tape.emplace(archive::TapeArchive::open_unchanged(file));
  } catch (const archive::ArchiveError& e) {
    terminal.error(terminal.typed("talqen-cli " + command + ": " + e.what()));
    return kExitUsage;
  }

  const bool shown = stderr_is_terminal();
  const auto started = std::chrono::steady_clock::now();
  bool drawn = false;
  archive::PushEvents events;
  events.tell = [&](const std::string& line) {
    if (drawn) terminal.status("");
    drawn = false;
    tell_centre_error(terminal, command, line);
  };
  events.progress = [&](const archive::PushProgress& p) {
    if (!shown) return;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    char figures[128];
    std::snprintf(figures, sizeof figures, " %lld/%lld documents read, %.1f MB sent",
                  static_cast<long long>(p.documents_read), static_cast<long long>(p.documents_total),
                  static_cast<double>(p.bytes_sent) / (1024.0 * 1024.0));
    terminal.status(text::from_utf8("pushing to " + centre + "  " + progress_bar(p.documents_read, p.documents_total) +
                                    figures + time_left(p.documents_read, p.documents_total, elapsed)));
    drawn = true;
  };
  events.stop = [] { return StopSignals::received() != 0; };

  archive::PushReport report;
  try {
    archive::PostgresConnection connection = archive::connect_to_centre(*address);
    report = archive::push_archive(*tape, connection, archive::local_host_name(), events);
  } catch (const archive::CentralError& e) {
    if (drawn) terminal.status("");
    tell_centre_error(terminal, command, e.what());
    if (e.cause() != archive::CentralError::Cause::Unreachable)
      tell_centre_error(terminal, command, "what was committed before stays; the next push goes on from there");
    return kExitUsage;
  } catch (const archive::ArchiveError& e) {
    if (drawn) terminal.status("");
    terminal.error(terminal.typed("talqen-cli " + command + ": " + e.what()));
    return kExitFailed;
  }
  if (drawn) terminal.status("");
  if (report.serial.empty())
    tell_centre_error(terminal, command, file + " names no register yet (it holds no document): nothing to push");
  if (!report.refusal.empty()) tell_centre_error(terminal, command, report.refusal);
  if (report.stopped) return StopSignals::exit_status();
  terminal.line(archive::push_line(report.counts));
  std::fflush(stdout);
  return report.whole() ? kExitDone : kExitFailed;
}

int run_push(const Options& options, const Terminal& terminal) {
  const auto usage = [&](const std::string& problem) { return usage_error(terminal, "push", problem); };
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--db", "--to"}, error);
  if (!args) return usage(error);
  if (!args->positional.empty()) return usage("takes no " + args->positional[0]);
  const std::string* db = args->value("--db");
  if (!db || db->empty()) return usage("needs --db FILE, the register's archive");
  if (archive::names_centre(*db)) return usage("--db names the archive file to push from, not a centre");
  const std::string* to = args->value("--to");
  const std::string problem = centre_problem("--to", to ? *to : std::string());
  if (!problem.empty()) return usage(problem);
  return push_archive_file(*db, *to, terminal, "push");
}

}  // namespace cli
