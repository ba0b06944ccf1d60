// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/archive_command.hpp"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_filling.hpp"
#include "archive/centre_address.hpp"
#include "archive/tape_archive.hpp"
#include "cli/command_arguments.hpp"
#include "cli/push_command.hpp"
#include "cli/register_workplace.hpp"
#include "cli/retrieval_commands.hpp"
#include "retrieval/failure_lines.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

int run_archive(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  const auto usage = [&](const std::string& problem) { return usage_error(terminal, "archive", problem); };
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--db", "--push"}, error);
  if (!args) return usage(error);
  if (args->positional.size() > 2) return usage("takes at most FIRST and LAST");
  const std::string first_text = args->positional.empty() ? "1" : args->positional[0];
  const std::string last_text = args->positional.size() < 2 ? "end" : args->positional[1];
  const auto range = number_range(first_text, last_text, error);
  if (!range) return usage(error);
  const std::string* db_option = args->value("--db");
  if (db_option && db_option->empty()) return usage("--db needs a FILE");
  if (db_option && archive::names_centre(*db_option))
    return usage("--db names the archive file; a centre to send it to goes after --push");
  const std::string* push_to = args->value("--push");
  if (push_to) {
    const std::string problem = centre_problem("--push", *push_to);
    if (!problem.empty()) return usage(problem);
  }
  if (options.port.empty()) return usage("needs --port (or Port= under [Communication] in fpinit.ini)");

  // The archive to push: the one the fill used, or the one named, filled or not (a register
  // that cannot be reached tonight leaves what earlier nights kept still to be sent).
  std::string path = db_option ? *db_option : std::string();
  Workplace place(options, terminal, dialogs, render::DocumentKind::Both);
  const int filled = connected(place, terminal, "archive", [&] {
    const archive::ConnectionAnswer answer = archive::AnswerOfConnectionCheck(options.protocol == Protocol::Quendar);
    if (answer.factory_number.empty()) {
      terminal.error("talqen-cli archive: the register's answer to the connection check names no factory number");
      return kExitFailed;
    }
    path = db_option ? *db_option : archive::default_archive_name(answer.factory_number);
    archive::TapeArchive archive = archive::TapeArchive::open_for_register(path, answer);

    // Without FIRST the register's tape from where it begins; LAST end asks the same question.
    const bool first_given = !args->positional.empty();
    archive::FillRange fill{range->first, range->last.value_or(0), !range->last, {}};
    if (!range->last) {
      const int said = terminal.error_lines();
      const std::optional<archive::FillRange> tape = archive::AskWholeTape(place.window);
      if (!tape) {
        tell_no_last_number(terminal, said);
        return kExitFailed;
      }
      fill.last = tape->last;
      fill.tape_beginning = tape->tape_beginning;
      if (!first_given) {
        fill.first = tape->first;
        if (!tape->tape_beginning) terminal.error(archive::AskedFromFirstNumberLine());
      }
    }

    archive::FillOutcome outcome;
    place.window.flags.retrieval_open = true;  // a time-out asks whether to go on
    place.progress.show();
    {
      const RetrievalUnderway underway(place.window);
      outcome = archive::FillArchive(archive, place.window, fill, {[&](const std::string& line) { terminal.error(line); }, {}});
    }
    place.progress.hide();

    const retrieval::AssemblyReport& report = outcome.report;
    if (report.port_lost) terminal.error("Связь с портом потеряна"_cp1251);
    for (const std::int32_t n : report.incomplete)
      terminal.error(std::string("Документ "_cp1251) + std::to_string(n) + std::string(" получен не полностью"_cp1251));
    if (report.interrupted) {
      std::vector<std::string> lines;
      retrieval::AppendFailureLines(lines);
      for (const std::string& line : lines) terminal.error(line);
    }
    if (outcome.archive_failure) terminal.error(terminal.typed("talqen-cli archive: " + *outcome.archive_failure));
    terminal.line(outcome.summary.line());
    std::fflush(stdout);
    return outcome.whole() ? kExitDone : kExitFailed;
  });
  std::error_code ec;
  if (!push_to || path.empty() || StopSignals::received() != 0 || !std::filesystem::exists(path, ec)) return filled;
  // The worse of the two tells both: 2 when the centre could not be had, 1 when either failed.
  return std::max(filled, push_archive_file(path, *push_to, terminal, "archive"));
}

}  // namespace cli
