// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/stop_signals.hpp"

#include <atomic>
#include <csignal>

#include "link/abort.hpp"

#ifndef _WIN32
#include <signal.h>
#endif

namespace cli {

namespace {

std::atomic<retrieval::JournalWindowLogic*> g_window{nullptr};
std::atomic<int> g_signal{0};
static_assert(std::atomic<retrieval::JournalWindowLogic*>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler needs lock-free atomics");

#ifdef _WIN32
constexpr int kStopSignals[] = {SIGINT, SIGTERM};
#else
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
#endif

extern "C" void on_stop_signal(int sig) {
  int none = 0;
  if (g_signal.compare_exchange_strong(none, sig)) {
    if (retrieval::JournalWindowLogic* window = g_window.load()) {
      window->RequestStop();
      // The document on its way is received whole; a silent register is not waited for.
      device_link::request_stop_when_quiet();
      return;
    }
  }
  device_link::request_abort();
}

void install(void (*handler)(int)) {
  for (int sig : kStopSignals) {
#ifdef _WIN32
    std::signal(sig, handler);
#else
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // the link's reads go on; the abort flag ends their waits
    sigaction(sig, &action, nullptr);
#endif
  }
}

}  // namespace

StopSignals::StopSignals() {
  g_signal.store(0);
  device_link::clear_abort();
  install(on_stop_signal);
}

StopSignals::~StopSignals() { install(SIG_DFL); }

int StopSignals::received() { return g_signal.load(); }

int StopSignals::exit_status() { return 128 + g_signal.load(); }

RetrievalUnderway::RetrievalUnderway(retrieval::JournalWindowLogic& window) {
  g_window.store(&window);
  // A signal that came before the retrieval began stops it before its first document.
  if (g_signal.load() != 0) window.RequestStop();
}

RetrievalUnderway::~RetrievalUnderway() { g_window.store(nullptr); }

}  // namespace cli
