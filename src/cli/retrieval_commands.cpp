// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/retrieval_commands.hpp"

#include <exception>
#include <span>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "cli/register_workplace.hpp"
#include "cli/stop_signals.hpp"
#include "retrieval/journal_window_logic.hpp"
#include "retrieval/line_file.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

namespace {

using retrieval::JournalWindowLogic;

constexpr std::string_view kJournalTextFile = "temp.xml";

// The date and time options and the fields they fill; an option not given leaves its
// field at its default.
struct DateOption {
  const char* option;
  void (JournalWindowLogic::*set)(std::string);
  bool date;
};
constexpr DateOption kDateOptions[] = {{"--from", &JournalWindowLogic::set_start_date, true},
                                       {"--to", &JournalWindowLogic::set_end_date, true},
                                       {"--from-time", &JournalWindowLogic::set_start_time, false},
                                       {"--to-time", &JournalWindowLogic::set_end_time, false}};

std::optional<std::string> field_text(const DateOption& o, const std::string& typed) {
  return o.date ? date_field_text(typed) : time_field_text(typed);
}

bool check_date_options(const CommandArguments& args, std::string& error) {
  for (const DateOption& o : kDateOptions) {
    const std::string* typed = args.value(o.option);
    if (typed && !field_text(o, *typed)) {
      error = std::string("bad ") + o.option + " " + *typed +
              (o.date ? " (a calendar date DD.MM.YY)" : " (a time HH:MM from 00:00 to 23:59)");
      return false;
    }
  }
  return true;
}

void fill_date_fields(const CommandArguments& args, JournalWindowLogic& window) {
  for (const DateOption& o : kDateOptions)
    if (const std::string* typed = args.value(o.option)) (window.*o.set)(*field_text(o, *typed));
  // A day named without a time is the whole day; "now" is only the end of an open span.
  if (args.value("--to") && !args.value("--to-time")) window.set_end_time("23:59");
}

// A checked dd.mm.yy field as a number that orders dates.
int date_order(const std::string& field) {
  const auto part = [&](std::size_t at) { return (field[at] - '0') * 10 + (field[at + 1] - '0'); };
  return part(6) * 10000 + part(3) * 100 + part(0);
}

// The arguments, or the reason they cannot be used.
struct Parsed {
  CommandArguments args;
  render::DocumentKind kind = render::DocumentKind::Both;
  std::optional<std::int64_t> first, last;
  bool to_end = false;  // LAST was "end": the register's last document
};

std::optional<Parsed> parse(const Options& options, std::initializer_list<std::string_view> value_options,
                            std::size_t numbers, std::string& error) {
  auto args = parse_command_arguments(options.arguments, value_options, error);
  if (!args) return std::nullopt;
  Parsed parsed{std::move(*args), render::DocumentKind::Both, {}, {}, false};
  const auto kind = kind_argument(parsed.args, error);
  if (!kind) return std::nullopt;
  parsed.kind = *kind;
  if (parsed.args.positional.size() != numbers) {
    error = numbers == 0 ? "takes no FIRST or LAST" : "needs FIRST and LAST";
    return std::nullopt;
  }
  if (numbers == 2) {
    const auto range = number_range(parsed.args.positional[0], parsed.args.positional[1], error);
    if (!range) return std::nullopt;
    parsed.first = range->first;
    parsed.last = range->last;
    parsed.to_end = !range->last;
    if (parsed.to_end && parsed.kind == render::DocumentKind::ZReports) {
      error = "end is the last document number, not a Z-report number: not with --kind z";
      return std::nullopt;
    }
  }
  if (!check_date_options(parsed.args, error)) return std::nullopt;
  if (const std::string* output = parsed.args.value("-o"); output && same_file(*output, kJournalTextFile)) {
    error = "-o " + *output + " would overwrite the journal text temp.xml";
    return std::nullopt;
  }
  if (options.port.empty()) {
    error = "needs --port (or Port= under [Communication] in fpinit.ini)";
    return std::nullopt;
  }
  return parsed;
}

// The journal window of one command, its fields filled from the command line.
struct RetrievalPlace : Workplace {
  RetrievalPlace(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs, const Parsed& parsed,
                 const render::Organisation& organisation = {})
      : Workplace(options, terminal, dialogs, parsed.kind, organisation) {
    if (parsed.first && parsed.last) window.set_numbers(*parsed.first, *parsed.last);
    fill_date_fields(parsed.args, window);
  }

  // The span's dates in order, as the window checks them before a search; told when not.
  bool dates_in_order(const Terminal& terminal) const {
    if (date_order(window.fields.start_date) <= date_order(window.fields.end_date)) return true;
    terminal.error("Конечная дата должна быть не меньше начальной!"_cp1251);
    return false;
  }
};

// LAST = end: the register's last document number, asked before the range.
bool ask_last_number(RetrievalPlace& place, const Parsed& parsed, const Terminal& terminal) {
  if (!parsed.to_end) return true;
  const std::optional<std::int64_t> last = cli::ask_last_number(place, terminal);
  if (!last) return false;
  place.window.set_numbers(*parsed.first, *last);
  return true;
}

// Document lines to stdout or into the -o file, everything else to stderr, and the exit
// status of a retrieval.
int finish_retrieval(const retrieval::RetrievalResult& result, const JournalWindowLogic& window,
                     const CommandArguments& args, const Terminal& terminal) {
  using Outcome = retrieval::RetrievalResult::Outcome;
  const render::PackedLines& lines = window.rendered_lines;
  // The rendered lines begin with the documents; what follows them is talk: the failure
  // lines, the line of an empty journal, the register's refusal of a date span.
  std::size_t documents = 0;
  if (result.outcome == Outcome::Shown && window.journal.doc_count > 0) documents = lines.size();
  if (result.outcome == Outcome::Failed && lines.size() >= 2) documents = lines.size() - 2;

  bool written = true;
  const std::string* output = args.value("-o");
  if (output && *output != "-") {
    // Only lines worth keeping replace a file; a failure leaves it as it was.
    if (documents > 0) {
      render::PackedLines document_lines;
      for (auto line = lines.begin(); document_lines.size() < documents; ++line) document_lines.push_back(*line);
      written = retrieval::save_lines(*output, document_lines);
      if (!written) terminal.error(std::string("Невозможно записать файл "_cp1251) + terminal.typed(*output));
    }
  } else {
    std::size_t shown = 0;
    for (auto line = lines.begin(); shown < documents; ++line, ++shown) terminal.line(*line);
  }
  std::fflush(stdout);

  const retrieval::AssemblyReport& assembly = result.assembly;
  // After a register error or a stop the empty journal is no news: that was told.
  const bool stopped = assembly.stopped || StopSignals::received() != 0;
  const bool empty_journal_line = result.outcome == Outcome::Shown && documents == 0;
  if (!(empty_journal_line && (assembly.register_error || stopped)))
    for (std::size_t i = documents; i < lines.size(); ++i) terminal.error(lines[i]);
  if (assembly.not_asked) terminal.error(not_asked_line(assembly.not_asked->first, assembly.not_asked->second));
  if (stopped)
    terminal.error(std::string("Сохранено документов: "_cp1251) + std::to_string(assembly.documents_kept));
  return written && result.complete() ? kExitDone : kExitFailed;
}

// fetch and fetch-dates: one retrieval handler, its lines shown or saved.
int retrieve(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs,
             const render::Organisation& organisation, const std::string& command,
             std::initializer_list<std::string_view> value_options, std::size_t numbers,
             retrieval::RetrievalResult (JournalWindowLogic::*handler)()) {
  std::string error;
  const auto parsed = parse(options, value_options, numbers, error);
  if (!parsed) return usage_error(terminal, command, error);
  RetrievalPlace place(options, terminal, dialogs, *parsed, organisation);
  if (numbers == 0 && !place.dates_in_order(terminal)) return kExitUsage;
  return connected(place, terminal, command, [&] {
    if (!ask_last_number(place, *parsed, terminal)) return kExitFailed;
    retrieval::RetrievalResult result;
    {
      const RetrievalUnderway underway(place.window);
      result = (place.window.*handler)();
    }
    return finish_retrieval(result, place.window, parsed->args, terminal);
  });
}

// Every '9' of the mask is a digit in the text, every other character the mask's own.
bool fits_mask(std::string_view text, std::string_view mask) {
  if (text.size() != mask.size()) return false;
  for (std::size_t i = 0; i < mask.size(); ++i)
    if (mask[i] == '9' ? text[i] < '0' || text[i] > '9' : text[i] != mask[i]) return false;
  return true;
}

int two_digits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

}  // namespace

std::optional<std::string> date_field_text(const std::string& typed) {
  if (!fits_mask(typed, "99.99.99")) return std::nullopt;
  const int day = two_digits(typed, 0), month = two_digits(typed, 3), year = 2000 + two_digits(typed, 6);
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  return typed;
}

std::optional<std::string> time_field_text(const std::string& typed) {
  const std::string text = typed.size() == 4 ? "0" + typed : typed;
  if (!fits_mask(text, "99:99") || two_digits(text, 0) > 23 || two_digits(text, 3) > 59) return std::nullopt;
  return text;
}

std::optional<NumberRange> number_range(std::string_view first_text, std::string_view last_text, std::string& error) {
  const std::optional<int> first = parse_int(first_text);
  const bool to_end = lower_case(last_text) == "end";
  const std::optional<int> last = to_end ? std::nullopt : parse_int(last_text);
  if (!first || (!last && !to_end)) {
    error = "FIRST must be a whole number, LAST a whole number or end";
    return std::nullopt;
  }
  if (*first < 1) {
    error = "FIRST must be 1 or more";
    return std::nullopt;
  }
  if (last && *last < *first) {
    error = "LAST must not be less than FIRST";
    return std::nullopt;
  }
  return NumberRange{*first, last};
}

std::string not_asked_line(std::int64_t first, std::int64_t last) {
  if (first == last) return std::string("Документ "_cp1251) + std::to_string(first) + std::string(" не запрошен"_cp1251);
  return std::string("Документы "_cp1251) + std::to_string(first) + std::string("–"_cp1251) + std::to_string(last) +
         std::string(" не запрошены"_cp1251);
}

int run_fetch(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs,
              const render::Organisation& organisation) {
  return retrieve(options, terminal, dialogs, organisation, "fetch", {"--kind", "-o"}, 2,
                  &JournalWindowLogic::RetrieveByNumbers);
}

int run_fetch_dates(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs,
                    const render::Organisation& organisation) {
  return retrieve(options, terminal, dialogs, organisation, "fetch-dates",
                  {"--from", "--from-time", "--to", "--to-time", "--kind", "-o"}, 0, &JournalWindowLogic::RetrieveByDates);
}

int run_numbers(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  std::string error;
  const auto parsed = parse(options, {"--from", "--from-time", "--to", "--to-time"}, 0, error);
  if (!parsed) return usage_error(terminal, "numbers", error);
  RetrievalPlace place(options, terminal, dialogs, *parsed);
  if (!place.dates_in_order(terminal)) return kExitUsage;
  return connected(place, terminal, "numbers", [&] {
    const int said = terminal.error_lines();
    // Only figures the register gave: the fields' own "1 1" would read as an answer.
    if (place.window.FillNumbersFromDates()) {
      terminal.line(place.window.fields.first_number + " " + place.window.fields.last_number);
      return kExitDone;
    }
    if (terminal.error_lines() == said && StopSignals::received() == 0)
      terminal.error("РРО не сообщил номера документов за этот период"_cp1251);
    return kExitFailed;
  });
}

int run_print(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  std::string error;
  const auto parsed = parse(options, {"--kind"}, 2, error);
  if (!parsed) return usage_error(terminal, "print", error);
  RetrievalPlace place(options, terminal, dialogs, *parsed);
  return connected(place, terminal, "print", [&] {
    if (!ask_last_number(place, *parsed, terminal)) return kExitFailed;
    return place.window.PrintOnRegister() ? kExitDone : kExitFailed;
  });
}

}  // namespace cli
