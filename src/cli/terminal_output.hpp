// SPDX-License-Identifier: GPL-3.0-or-later
// Text between Windows-1251 and the terminal: converted to or from UTF-8 unless the
// terminal speaks Windows-1251 itself.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli_options.hpp"

namespace cli {

class Terminal {
 public:
  explicit Terminal(Encoding encoding, std::FILE* out = stdout, std::FILE* err = stderr)
      : encoding_(encoding), out_(out), err_(err) {}

  // A line of Windows-1251 text to stdout / stderr.
  void line(std::string_view cp1251) const { put(out_, cp1251); }
  void error(std::string_view cp1251) const {
    put(err_, cp1251);
    ++error_lines_;
  }
  // How many lines went to stderr: a command that failed says at least one thing.
  int error_lines() const { return error_lines_; }
  // A status line on stderr, drawn over the previous one; empty clears it.
  void status(std::string_view cp1251) const;
  // What the user typed, as Windows-1251 bytes.
  std::string typed(const std::string& text) const;

 private:
  void put(std::FILE* f, std::string_view cp1251) const;
  Encoding encoding_;
  std::FILE* out_;
  std::FILE* err_;
  mutable int error_lines_ = 0;
};

// Bad usage: "talqen-cli COMMAND: PROBLEM" (PROBLEM as typed, so the user's own words
// come back in the terminal's encoding) and where help is; the exit status to return.
int usage_error(const Terminal& terminal, std::string_view command, const std::string& problem);

// Whether stderr goes to a terminal (and so may carry a status line).
bool stderr_is_terminal();

// "01 24 21": bytes in upper-case hexadecimal, separated by blanks.
std::string hex_bytes(std::string_view bytes);

}  // namespace cli
