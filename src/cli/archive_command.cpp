#include "cli/archive_command.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/arrived_document.hpp"
#include "archive/tape_archive.hpp"
#include "cli/command_arguments.hpp"
#include "cli/register_workplace.hpp"
#include "cli/retrieval_commands.hpp"
#include "journal/journal_errors.hpp"
#include "link/quendar.hpp"
#include "retrieval/failure_lines.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

namespace {

// Document type 1: documents by their number, as "Чек+Z-отчет" asks them.
constexpr int kByDocumentNumber = 1;

std::string_view field_of(const datecs::RetData& result, int index) {
  if (index >= result.FieldCount || index >= datecs::kMaxFields || !result.Fields[index]) return {};
  std::string_view field = result.Fields[index];
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return field;
}

// The register as the connection check's answer names it: the factory number in the
// field the status line shows (Datecs 7, Quendar 3), and the Datecs fiscal number in
// field 8. A Quendar register's fiscal number comes with its first document.
archive::RegisterIdentity identity_from_diagnostic(const Options& options) {
  if (options.protocol == Protocol::Datecs) {
    const datecs::RetData& answer = messages::program_state().last_datecs_result;
    return {std::string(field_of(answer, 6)), std::string(field_of(answer, 7))};
  }
  return {std::string(field_of(quendar::last_result(), 2)), ""};
}

// What became of the numbers of the range in this run.
struct Tally {
  std::int64_t fetched = 0;
  std::int64_t absent_not_kept = 0;  // absent, but beyond what the register said was its last
  std::int64_t unreadable = 0;
};

}  // namespace

int run_archive(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  const auto usage = [&](const std::string& error) {
    terminal.error(terminal.typed("talqen-cli archive: " + error));
    terminal.error(kHelpHint);
    return kExitUsage;
  };
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--db"}, error);
  if (!args) return usage(error);
  if (args->positional.size() > 2) return usage("takes at most FIRST and LAST");
  const std::string first_text = args->positional.empty() ? "1" : args->positional[0];
  const std::string last_text = args->positional.size() < 2 ? "end" : args->positional[1];
  const auto range = number_range(first_text, last_text, error);
  if (!range) return usage(error);
  const std::string* db_option = args->value("--db");
  if (db_option && db_option->empty()) return usage("--db needs a FILE");
  if (options.port.empty()) return usage("needs --port (or Port= under [Communication] in fpinit.ini)");

  Workplace place(options, terminal, dialogs, render::DocumentKind::Both);
  return connected(place, terminal, "archive", [&] {
    const archive::RegisterIdentity identity = identity_from_diagnostic(options);
    if (identity.serial.empty()) {
      terminal.error("talqen-cli archive: the register's answer to the connection check names no factory number");
      return kExitFailed;
    }
    const std::string path = db_option ? *db_option : archive::default_archive_name(identity.serial);
    archive::TapeArchive archive = archive::TapeArchive::open_for_register(path, identity);

    const std::int64_t first = range->first;
    std::int64_t last = 0;
    if (range->last) {
      last = *range->last;
    } else {
      const std::optional<std::int64_t> register_last = ask_last_number(place, terminal);
      if (!register_last) return kExitFailed;
      last = *register_last;
    }
    // Only below the register's own last number is a missing document absent for good;
    // beyond it, it may yet be written.
    const bool absence_is_final = !range->last;
    const std::int64_t held_before = archive.held_count(first, last);
    const std::int64_t to_ask =
        last >= first ? std::max<std::int64_t>(0, last - first + 1 - held_before - archive.absent_count(first, last)) : 0;

    Tally tally;
    retrieval::AssemblyReport report;
    std::optional<std::string> archive_failure;
    place.window.flags.retrieval_open = true;  // a time-out asks whether to go on
    place.progress.show();
    try {
      const RetrievalUnderway underway(place.window);
      report = place.window.FetchDocuments(
          first, last, to_ask, kByDocumentNumber, [&](std::int64_t from) { return archive.first_missing(from, last); },
          [&](std::int32_t number, std::string&& bytes) {
            if (bytes.empty()) {
              if (absence_is_final)
                archive.store_absent(number, archive::utc_now());
              else
                ++tally.absent_not_kept;
              return;
            }
            try {
              const archive::ArrivedDocument arrived =
                  archive::ReadArrivedDocument(number, std::move(bytes), archive::utc_now());
              archive.store(arrived.document, arrived.named);
              ++tally.fetched;
            } catch (const journal::JournalError& e) {
              ++tally.unreadable;
              terminal.error(std::string("Документ "_cp1251) + std::to_string(number) + ": " + e.what());
            }
          });
    } catch (const archive::ArchiveError& e) {
      // A document of another register, or the file that cannot be written: nothing more
      // is asked, and what was committed stays.
      archive_failure = e.what();
    }
    place.progress.hide();

    if (report.port_lost) terminal.error("Связь с портом потеряна"_cp1251);
    for (const std::int32_t n : report.incomplete)
      terminal.error(std::string("Документ "_cp1251) + std::to_string(n) + std::string(" получен не полностью"_cp1251));
    if (report.interrupted) {
      std::vector<std::string> lines;
      retrieval::AppendFailureLines(lines);
      for (const std::string& line : lines) terminal.error(line);
    }
    if (archive_failure) terminal.error(terminal.typed("talqen-cli archive: " + *archive_failure));

    const std::int64_t numbers = last >= first ? last - first + 1 : 0;
    const std::int64_t held_after = numbers > 0 ? archive.held_count(first, last) : 0;
    const std::int64_t absent = (numbers > 0 ? archive.absent_count(first, last) : 0) + tally.absent_not_kept;
    const std::int64_t incomplete =
        static_cast<std::int64_t>(report.incomplete.size() + report.unanswered.size()) + tally.unreadable;
    const std::int64_t not_asked = numbers - held_after - absent - incomplete;
    std::string summary = "held " + std::to_string(held_before) + ", fetched " + std::to_string(tally.fetched) +
                          ", absent " + std::to_string(absent) + ", incomplete " + std::to_string(incomplete);
    if (not_asked > 0) summary += ", not asked " + std::to_string(not_asked);
    terminal.line(summary);
    std::fflush(stdout);

    const bool whole = incomplete == 0 && not_asked <= 0 && !archive_failure && !report.register_error &&
                       !report.interrupted && !report.stopped;
    return whole ? kExitDone : kExitFailed;
  });
}

}  // namespace cli
