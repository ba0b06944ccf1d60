// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-sim as a child process for one test: started on a fresh pseudo-terminal,
// stopped by a signal, and killed if it does not stop in time, so that a test can never
// hang on it or leave it behind.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "child_exit.hpp"

namespace e2e {

class SimProcess {
 public:
  static constexpr int kReadyWaitMs = 5000;
  static constexpr int kStopWaitMs = 3000;

  // Starts the simulator with the given arguments and waits for its READY line.
  explicit SimProcess(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> all = {TALQEN_SIM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::execv(TALQEN_SIM, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    out_ = out[0];
    if (pid_ < 0) return;
    read_ready_line();
  }

  ~SimProcess() { stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool ready() const { return !port_.empty(); }
  const std::string& port() const { return port_; }
  // Everything it printed on stdout up to its READY line.
  const std::string& output() const { return output_; }

  // Sends the signal and waits for the exit. The exit status, or -1 when it died of a
  // signal or had to be killed.
  int stop(int sig = SIGTERM) {
    if (pid_ <= 0) return exit_code_;
    ::kill(pid_, sig);
    exit_code_ = wait_or_kill(pid_, kStopWaitMs);
    pid_ = -1;
    if (out_ >= 0) ::close(out_);
    out_ = -1;
    return exit_code_;
  }

 private:
  void read_ready_line() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadyWaitMs);
    while (output_.find('\n') == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return;
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return;
      char buf[256];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) return;  // it ended before it was ready
      output_.append(buf, static_cast<std::size_t>(n));
    }
    const std::string line = output_.substr(0, output_.find('\n'));
    if (line.rfind("READY ", 0) == 0) port_ = line.substr(6);
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int exit_code_ = -1;
  std::string output_;
  std::string port_;
};

}  // namespace e2e
