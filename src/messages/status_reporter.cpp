// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/status_reporter.hpp"

#include "link/abort.hpp"
#include "messages/status_word.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace messages {

namespace {

SilentDialogs silent;
Dialogs* installed = &silent;
StatusReporter* routed = nullptr;

}  // namespace

Dialogs& program_dialogs() { return *installed; }
void set_program_dialogs(Dialogs* dialogs) { installed = dialogs ? dialogs : &silent; }

ProgramState& program_state() {
  static ProgramState state;
  return state;
}

RetrievalFlags& retrieval_flags() {
  static RetrievalFlags flags;
  return flags;
}

void StatusReporter::report(datecs::RetData& result) {
  program_.last_datecs_result = result;
  const status::StatusBit* bit = status::first_reported_bit(result.Status);
  if (!bit) return;
  // The user has given up already: no question, no time-out to tell of.
  if (bit->bit == status::kNoReply && device_link::giving_up_quiet_waits()) return;
  if (bit->bit == status::kNoReply && flags_.retrieval_open) {
    const bool retry = dialogs_.ask_retry_cancel(text::say(TALQEN_PHRASE("StatusWord", "Таймаут")),
                                                text::say(TALQEN_PHRASE("StatusWord", "Для продолжения нажмите ")));
    flags_.cancelled_at_timeout = !retry;
    return;
  }
  dialogs_.show_message(status::message_of(*bit));
}

ResultRoute::ResultRoute(StatusReporter& reporter) : previous_(routed) { routed = &reporter; }
ResultRoute::~ResultRoute() { routed = previous_; }

}  // namespace messages

void PrinterResultsx(datecs::RetData& result) {
  if (messages::routed) {
    messages::routed->report(result);
    return;
  }
  messages::StatusReporter(messages::program_state(), messages::retrieval_flags(), messages::program_dialogs())
      .report(result);
}
