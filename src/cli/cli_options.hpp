// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of talqen-cli: global options, then a command and its arguments.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Protocol { Datecs, Quendar };
enum class Encoding { Utf8, Cp1251 };

struct Options {
  std::string port;  // empty: the one stored in fpinit.ini
  int speed = 9600;
  Protocol protocol = Protocol::Datecs;
  // Speed and variant given on the command line; otherwise the stored ones apply.
  bool speed_given = false;
  bool protocol_given = false;
  std::string password = "271828";
  int reply_count = 1;
  Encoding encoding = Encoding::Utf8;
  bool yes = false;                      // the answer to Yes/No questions
  bool quick_end = false;                // Datecs: end each exchange at the reply's terminator
  bool continue_after_timeout = false;   // the answer to the time-out question
  int retries = 1;                       // fresh attempts at a document whose fragments failed
  bool help = false;
  bool version = false;
  std::string command;
  std::vector<std::string> arguments;  // as typed, in the terminal's encoding
};

struct ParseResult {
  std::optional<Options> options;
  std::string error;  // why the command line is not usable
};

ParseResult parse_command_line(const std::vector<std::string>& args);

// Port, speed and variant that the command line left open, from fpinit.ini.
void use_stored_settings(Options& options, const std::string& config_path);

// A whole number: decimal, or hexadecimal with 0x in front.
std::optional<long> parse_number(const std::string& text);

// ASCII letters in lower case: option values are matched without regard to case.
std::string lower_case(std::string_view text);

// "--name=value" as name and value; nothing for any other argument.
std::optional<std::pair<std::string, std::string>> split_assignment(const std::string& argument);

// The whole help, or one command's part of it (empty for a command that does not exist).
std::string usage_text();
std::string command_help(std::string_view command);
// The line under a usage error.
inline constexpr std::string_view kHelpHint = "(talqen-cli --help describes every command and option)";

std::string version_text();

}  // namespace cli
