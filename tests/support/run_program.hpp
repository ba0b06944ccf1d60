// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program through the shell and collects what it printed and its exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testing_support {

struct ProgramRun {
  std::string output;  // stdout (and stderr where the command line redirects it)
  int exit_code = -1;
};

inline ProgramRun run_program(const std::string& command_line) {
  ProgramRun run;
  std::FILE* pipe = ::popen(command_line.c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.output.append(buf, n);
  const int status = ::pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace testing_support
