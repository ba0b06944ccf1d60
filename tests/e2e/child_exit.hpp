// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting for a child process of a test: never longer than the test allows.
#pragma once

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

namespace e2e {

// The child's exit status within timeout_ms; -1 when it died of a signal or had to be
// killed because it did not end in time.
inline int wait_or_kill(pid_t pid, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int status = 0;
  pid_t done = 0;
  while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (done == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace e2e
