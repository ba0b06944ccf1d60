#include "cli/retrieval_commands.hpp"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "cli/register_session.hpp"
#include "cli/terminal_progress.hpp"
#include "link/datecs.hpp"
#include "retrieval/journal_window_logic.hpp"

namespace cli {

namespace {

using retrieval::JournalWindowLogic;

// Ctrl-C: the first asks the window to stop after the current document, a second ends
// the program at once.
std::atomic<JournalWindowLogic*> g_window{nullptr};
volatile std::sig_atomic_t g_interrupted = 0;
static_assert(std::atomic<JournalWindowLogic*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the interrupt handler needs lock-free atomics");

extern "C" void on_interrupt(int) {
  if (g_interrupted != 0) std::_Exit(kExitInterrupted);
  g_interrupted = 1;
  if (JournalWindowLogic* window = g_window.load()) window->RequestStop();
}

class StopOnInterrupt {
 public:
  explicit StopOnInterrupt(JournalWindowLogic& window) {
    g_interrupted = 0;
    g_window.store(&window);
    previous_ = std::signal(SIGINT, on_interrupt);
  }
  ~StopOnInterrupt() {
    std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_);
    g_window.store(nullptr);
  }
  StopOnInterrupt(const StopOnInterrupt&) = delete;
  StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;
  bool interrupted() const { return g_interrupted != 0; }

 private:
  void (*previous_)(int) = SIG_DFL;
};

int usage(const Terminal& terminal, const std::string& command, const std::string& error) {
  terminal.error(terminal.typed("talqen-cli " + command + ": " + error));
  return kExitUsage;
}

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
      error = std::string("bad ") + o.option + " " + *typed + (o.date ? " (DD.MM.YY)" : " (HH:MM)");
      return false;
    }
  }
  return true;
}

void fill_date_fields(const CommandArguments& args, JournalWindowLogic& window) {
  for (const DateOption& o : kDateOptions)
    if (const std::string* typed = args.value(o.option)) (window.*o.set)(*field_text(o, *typed));
}

// The arguments, or the reason they cannot be used.
struct Parsed {
  CommandArguments args;
  render::DocumentKind kind = render::DocumentKind::Both;
  std::optional<int> first, last;
};

std::optional<Parsed> parse(const Options& options, std::initializer_list<std::string_view> value_options,
                            std::size_t numbers, std::string& error) {
  auto args = parse_command_arguments(options.arguments, value_options, error);
  if (!args) return std::nullopt;
  Parsed parsed{std::move(*args), render::DocumentKind::Both, {}, {}};
  const auto kind = kind_argument(parsed.args, error);
  if (!kind) return std::nullopt;
  parsed.kind = *kind;
  if (parsed.args.positional.size() != numbers) {
    error = numbers == 0 ? "takes no FIRST or LAST" : "needs FIRST and LAST";
    return std::nullopt;
  }
  if (numbers == 2) {
    parsed.first = parse_int(parsed.args.positional[0]);
    parsed.last = parse_int(parsed.args.positional[1]);
    if (!parsed.first || !parsed.last) {
      error = "FIRST and LAST must be whole numbers";
      return std::nullopt;
    }
  }
  if (!check_date_options(parsed.args, error)) return std::nullopt;
  if (options.port.empty()) {
    error = "needs --port";
    return std::nullopt;
  }
  return parsed;
}

// The lines shown, on stdout or into the -o file, and the exit status of a retrieval.
int finish_retrieval(const retrieval::RetrievalResult& result, JournalWindowLogic& window, const CommandArguments& args,
                     const Terminal& terminal, bool interrupted) {
  bool written = true;
  if (const std::string* output = args.value("-o"))
    written = window.SaveList(*output);
  else
    for (const std::string& line : window.rendered_lines) terminal.line(line);
  if (interrupted) return kExitInterrupted;
  return written && result.complete() ? kExitDone : kExitFailed;
}

// The journal window of one command, its fields filled from the command line, with its
// connection and its progress line.
struct Workplace {
  Workplace(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs, const Parsed& parsed)
      : progress(terminal, stderr_is_terminal(), device_link::system_clock()),
        window({messages::program_state(), dialogs, progress, frame,
                [&options] { return options.protocol == Protocol::Datecs; }, device_link::system_clock()}),
        session(options, messages::program_state(), window.flags, dialogs),
        quick_end(options.quick_end) {
    window.SetDefaultFields();
    window.set_password(terminal.typed(options.password));
    window.set_document_kind(parsed.kind);
    if (parsed.first && parsed.last) window.set_numbers(*parsed.first, *parsed.last);
    fill_date_fields(parsed.args, window);
  }

  TerminalProgress progress;
  retrieval::NoWindowFrame frame;
  JournalWindowLogic window;
  RegisterSession session;
  bool quick_end;
};

// Connects, runs the work, disconnects; a failure that escapes the window's handlers is
// reported as the desktop program's default failure report would.
template <class Work>
int connected(Workplace& place, const Terminal& terminal, const std::string& command, Work work) {
  const app::ConnectionResult connection = place.session.connect();
  if (connection != app::ConnectionResult::Connected) return exit_status_of_failed(connection);
  if (place.quick_end) datecs::set_quick_end(true);
  try {
    return work();
  } catch (const std::exception& e) {
    terminal.error(terminal.typed("talqen-cli " + command + ": " + e.what()));
    return kExitFailed;
  }
}

// fetch and fetch-dates: one retrieval handler, its lines shown or saved.
int retrieve(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs, const std::string& command,
             std::initializer_list<std::string_view> value_options, std::size_t numbers,
             retrieval::RetrievalResult (JournalWindowLogic::*handler)()) {
  std::string error;
  const auto parsed = parse(options, value_options, numbers, error);
  if (!parsed) return usage(terminal, command, error);
  Workplace place(options, terminal, dialogs, *parsed);
  const StopOnInterrupt stop(place.window);
  return connected(place, terminal, command, [&] {
    const auto result = (place.window.*handler)();
    return finish_retrieval(result, place.window, parsed->args, terminal, stop.interrupted());
  });
}

}  // namespace

namespace {

// Every '9' of the mask is a digit in the text, every other character the mask's own.
bool fits_mask(std::string_view text, std::string_view mask) {
  if (text.size() != mask.size()) return false;
  for (std::size_t i = 0; i < mask.size(); ++i)
    if (mask[i] == '9' ? text[i] < '0' || text[i] > '9' : text[i] != mask[i]) return false;
  return true;
}

}  // namespace

std::optional<std::string> date_field_text(const std::string& typed) {
  if (!fits_mask(typed, "99.99.99")) return std::nullopt;
  return typed;
}

std::optional<std::string> time_field_text(const std::string& typed) {
  const std::string text = typed.size() == 4 ? "0" + typed : typed;
  if (!fits_mask(text, "99:99")) return std::nullopt;
  return text;
}

int run_fetch(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  return retrieve(options, terminal, dialogs, "fetch", {"--kind", "-o"}, 2, &JournalWindowLogic::RetrieveByNumbers);
}

int run_fetch_dates(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  return retrieve(options, terminal, dialogs, "fetch-dates", {"--from", "--from-time", "--to", "--to-time", "--kind", "-o"},
                  0, &JournalWindowLogic::RetrieveByDates);
}

int run_numbers(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  std::string error;
  const auto parsed = parse(options, {"--from", "--from-time", "--to", "--to-time"}, 0, error);
  if (!parsed) return usage(terminal, "numbers", error);
  Workplace place(options, terminal, dialogs, *parsed);
  return connected(place, terminal, "numbers", [&] {
    const bool found = place.window.FillNumbersFromDates();
    terminal.line(place.window.fields.first_number + " " + place.window.fields.last_number);
    return found ? kExitDone : kExitFailed;
  });
}

int run_print(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs) {
  std::string error;
  const auto parsed = parse(options, {"--kind"}, 2, error);
  if (!parsed) return usage(terminal, "print", error);
  Workplace place(options, terminal, dialogs, *parsed);
  return connected(place, terminal, "print", [&] { return place.window.PrintOnRegister() ? kExitDone : kExitFailed; });
}

}  // namespace cli
