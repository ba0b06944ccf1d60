// SPDX-License-Identifier: GPL-3.0-or-later
// The status reporter: every result of the Datecs variant passes through it. It keeps a
// copy as the program's last_datecs_result and shows at most one message for the status
// word; during a retrieval a missing reply asks whether to go on.
#pragma once

#include <string>

#include "link/exchange_result.hpp"
#include "messages/dialogs.hpp"

namespace messages {

// What the whole program shares: the program directory, fpinit.ini's path and the last
// Datecs result, which the connection procedure and the retrieval read.
struct ProgramState {
  std::string program_directory;
  std::string config_path;
  datecs::RetData last_datecs_result;
};

// The journal window's retrieval flags.
struct RetrievalFlags {
  // A retrieval was started in the journal window, and the window was not closed by
  // "Закрыть" since: a missing reply then asks whether to go on.
  bool retrieval_open = false;
  bool cancelled_at_timeout = false;  // the user answered Cancel at the time-out question
};

class StatusReporter {
 public:
  StatusReporter(ProgramState& program, RetrievalFlags& flags, Dialogs& dialogs)
      : program_(program), flags_(flags), dialogs_(dialogs) {}
  void report(datecs::RetData& result);

 private:
  ProgramState& program_;
  RetrievalFlags& flags_;
  Dialogs& dialogs_;
};

// The program's state and retrieval flags.
ProgramState& program_state();
RetrievalFlags& retrieval_flags();

// While it lives, PrinterResultsx reports to the given reporter instead of the program's
// state, so that whoever makes a Datecs request (the connection procedure, the journal
// window) hands in its own program state, flags and dialogs. Routes nest; one thread.
class ResultRoute {
 public:
  explicit ResultRoute(StatusReporter& reporter);
  ~ResultRoute();
  ResultRoute(const ResultRoute&) = delete;
  ResultRoute& operator=(const ResultRoute&) = delete;

 private:
  StatusReporter* previous_;
};

}  // namespace messages

#if defined(_WIN32)
#define TALQEN_EXPORT __declspec(dllexport)
#else
#define TALQEN_EXPORT __attribute__((visibility("default")))
#endif

// Exported by name: the result callback of every Datecs command. Acts on the routed
// reporter, or else on the program's state, retrieval flags and dialogs.
extern "C" TALQEN_EXPORT void PrinterResultsx(datecs::RetData& result);
