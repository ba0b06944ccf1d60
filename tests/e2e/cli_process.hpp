// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli as a child process that a test can interrupt: it runs in a directory of its
// own, with stdout and stderr going to files there, and is killed if it overstays.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "child_exit.hpp"

namespace e2e {

class CliProcess {
 public:
  CliProcess(const std::string& directory, std::vector<std::string> args) {
    args.insert(args.begin(), TALQEN_CLI);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string out = directory + "/stdout.txt";
    const std::string err = directory + "/stderr.txt";
    pid_ = ::fork();
    if (pid_ == 0) {
      if (::chdir(directory.c_str()) != 0) ::_exit(126);
      ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
      ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
      ::execv(TALQEN_CLI, argv.data());
      ::_exit(127);
    }
  }
  ~CliProcess() { wait(0); }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  void signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
  }

  // The exit status within timeout_ms; -1 when it died of a signal or had to be killed.
  int wait(int timeout_ms) {
    if (pid_ <= 0) return exit_code_;
    exit_code_ = wait_or_kill(pid_, timeout_ms);
    pid_ = -1;
    return exit_code_;
  }

 private:
  pid_t pid_ = -1;
  int exit_code_ = -1;
};

}  // namespace e2e
