// The status reporter: every result of the Datecs variant passes through it. It keeps a
// copy as the console's LastResult and shows at most one message for the status word;
// during a retrieval a missing reply asks whether to go on.
#pragma once

#include <string>

#include "link/ret_data.hpp"
#include "messages/dialogs.hpp"

namespace messages {

// The command console's window object: the program-wide settings and the last Datecs
// result, which the connection procedure and the retrieval read.
struct ConsoleState {
  std::string ProgramDirectory;
  std::string ConfigPath;
  datecs::RetData LastResult;
};

// The journal window's retrieval flags.
struct RetrievalFlags {
  bool Busy = false;           // a retrieval was started in the journal window
  bool StopRequested = false;  // the user cancelled at a time-out question
};

class StatusReporter {
 public:
  StatusReporter(ConsoleState& console, RetrievalFlags& flags, Dialogs& dialogs)
      : console_(console), flags_(flags), dialogs_(dialogs) {}
  void report(datecs::RetData& result);

 private:
  ConsoleState& console_;
  RetrievalFlags& flags_;
  Dialogs& dialogs_;
};

// The program's console state and retrieval flags.
ConsoleState& console();
RetrievalFlags& retrieval_flags();

// While it lives, PrinterResultsx reports to the given reporter instead of the program's
// state, so that whoever makes a Datecs request (the connection procedure, the journal
// window) hands in its own console state, flags and dialogs. Routes nest; one thread.
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
// reporter, or else on the program's console state, retrieval flags and dialogs.
extern "C" TALQEN_EXPORT void PrinterResultsx(datecs::RetData& result);
