// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/register_workplace.hpp"

#include "link/clock.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

Workplace::Workplace(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs,
                     render::DocumentKind kind, const render::Organisation& organisation)
    : progress(terminal, stderr_is_terminal(), device_link::system_clock()),
      window({messages::program_state(), dialogs, progress, frame,
              [&options] { return options.protocol == Protocol::Datecs; }, device_link::system_clock()}),
      session(options, messages::program_state(), window.flags, dialogs),
      quick_end(options.quick_end) {
  window.SetDefaultFields();
  window.set_password(terminal.typed(options.password));
  window.set_document_kind(kind);
  window.set_retries(options.retries);
  window.set_organisation(organisation);
}

void tell_no_last_number(const Terminal& terminal, int lines_said_before) {
  if (terminal.error_lines() == lines_said_before) terminal.error("РРО не сообщил номер последнего документа"_cp1251);
}

std::optional<std::int64_t> ask_last_number(Workplace& place, const Terminal& terminal) {
  const int said = terminal.error_lines();
  const std::optional<std::int64_t> last = place.window.FindLastDocumentNumber();
  if (!last) tell_no_last_number(terminal, said);
  return last;
}

}  // namespace cli
