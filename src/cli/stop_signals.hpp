// SPDX-License-Identifier: GPL-3.0-or-later
// SIGINT, SIGTERM and SIGHUP (a closed terminal or SSH session) while talqen-cli works
// with the register. During a retrieval the first one stops it after the current
// document (a register gone quiet is not waited for), so that every document that came
// whole is still written; a second one, or the first one at any other time (connecting,
// detect, a single exchange), ends the link's waits at once. The command then ends with 128 + the first signal's number.
#pragma once

#include "retrieval/journal_window_logic.hpp"

namespace cli {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The first signal received, 0 while none came.
  static int received();
  // 128 + that signal, as a shell reports a program it ended.
  static int exit_status();
};

// While it lives, the first signal asks the window to stop after the current document.
class RetrievalUnderway {
 public:
  explicit RetrievalUnderway(retrieval::JournalWindowLogic& window);
  ~RetrievalUnderway();
  RetrievalUnderway(const RetrievalUnderway&) = delete;
  RetrievalUnderway& operator=(const RetrievalUnderway&) = delete;
};

}  // namespace cli
