// The command line of talqen-cli: global options, then a command and its arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Protocol { Datecs, Quendar };
enum class Encoding { Utf8, Cp1251 };

struct Options {
  std::string port;
  int speed = 9600;
  Protocol protocol = Protocol::Datecs;
  std::string password = "271828";
  int reply_count = 1;
  Encoding encoding = Encoding::Utf8;
  bool yes = false;                // the answer to Yes/No questions
  bool quick_end = false;          // Datecs: end each exchange at the reply's terminator
  bool retry_on_timeout = false;   // the answer to the time-out question
  bool help = false;
  std::string command;
  std::vector<std::string> arguments;  // as typed, in the terminal's encoding
};

struct ParseResult {
  std::optional<Options> options;
  std::string error;  // why the command line is not usable
};

ParseResult parse_command_line(const std::vector<std::string>& args);

// A whole number: decimal, or hexadecimal with 0x in front.
std::optional<long> parse_number(const std::string& text);

std::string usage_text();

}  // namespace cli
