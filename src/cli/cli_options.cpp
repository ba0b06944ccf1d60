#include "cli/cli_options.hpp"

#include <cerrno>
#include <cstdlib>

namespace cli {

std::optional<long> parse_number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
    return std::nullopt;
  errno = 0;
  const long value = std::strtol(digits.c_str(), nullptr, hex ? 16 : 10);
  if (errno == ERANGE) return std::nullopt;
  return value;
}

ParseResult parse_command_line(const std::vector<std::string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // raw takes free text after its command; every other command accepts the global
    // options among its own arguments.
    if (o.command == "raw") {
      o.arguments.push_back(a);
      continue;
    }
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a == "--yes") {
      o.yes = true;
      continue;
    }
    if (a == "--quick-end") {
      o.quick_end = true;
      continue;
    }
    const bool global = a == "--port" || a == "--speed" || a == "--protocol" || a == "--password" ||
                        a == "--reply" || a == "--on-timeout" || a == "--encoding";
    if (!global) {
      if (!o.command.empty())
        o.arguments.push_back(a);
      else if (a.rfind("--", 0) == 0)
        return {std::nullopt, "unknown option: " + a};
      else
        o.command = a;
      continue;
    }
    if (i + 1 >= args.size()) return {std::nullopt, a + " needs a value"};
    const std::string& v = args[++i];
    if (a == "--port") {
      o.port = v;
    } else if (a == "--speed") {
      const auto n = parse_number(v);
      if (!n || *n <= 0 || *n > 4000000) return {std::nullopt, "bad speed: " + v};
      o.speed = static_cast<int>(*n);
    } else if (a == "--protocol") {
      if (v == "datecs") o.protocol = Protocol::Datecs;
      else if (v == "quendar") o.protocol = Protocol::Quendar;
      else return {std::nullopt, "unknown protocol: " + v + " (datecs or quendar)"};
    } else if (a == "--password") {
      o.password = v;
    } else if (a == "--reply") {
      const auto n = parse_number(v);
      if (!n || *n > 100) return {std::nullopt, "bad reply count: " + v};
      o.reply_count = static_cast<int>(*n);
    } else if (a == "--on-timeout") {
      if (v == "retry") o.retry_on_timeout = true;
      else if (v == "cancel") o.retry_on_timeout = false;
      else return {std::nullopt, "unknown answer: " + v + " (retry or cancel)"};
    } else {
      if (v == "utf-8" || v == "utf8") o.encoding = Encoding::Utf8;
      else if (v == "cp1251") o.encoding = Encoding::Cp1251;
      else return {std::nullopt, "unknown encoding: " + v + " (utf-8 or cp1251)"};
    }
  }
  return {o, {}};
}

std::string usage_text() {
  return R"(usage: talqen-cli [OPTIONS] COMMAND [ARGUMENTS]

Reads a fiscal register's electronic control tape over a serial line.

Options:
  --port NAME          serial device: a path (/dev/ttyUSB0) or a COM name (COM1 is /dev/ttyS0)
  --speed BAUD         line speed, default 9600
  --protocol VARIANT   datecs (default) or quendar
  --password TEXT      register password for the quendar variant, default 271828
  --reply N            quendar: repeats of a request whose reply is malformed, default 1
  --encoding ENC       text on the terminal: utf-8 (default) or cp1251
  --yes                answer Yes to the program's Yes/No questions
  --on-timeout ANSWER  answer to "Таймаут" during a retrieval: retry or cancel (default)
  --quick-end          datecs: end each exchange at the reply's terminator instead of
                       after one more 100 ms read (as QuickEnd=1 in fpinit.ini does)
  --help               this text
Except after raw, these options may also stand among a command's arguments.

Commands:
  ports                list the serial devices of this computer
  diagnose             connect as the main window does (fpinit.ini in the current
                       directory), print the status-bar text, disconnect
  raw CMD [DATA]       send one command (CMD decimal or 0x-hex, 0x20..0xFF) with DATA and
                       print the result record, one "Name: value" line each
  fetch [--kind z|receipt|both] FIRST LAST [-o FILE]
                       fetch documents FIRST to LAST (Z-report numbers with --kind z; both
                       by default), write the journal text to temp.xml and print the
                       documents as the register printed them; -o writes the lines to
                       FILE in Windows-1251 with CR LF instead. Ctrl-C stops after the
                       current document and keeps what was fetched (exit 130)
  fetch-dates [--from DD.MM.YY] [--from-time HH:MM] [--to DD.MM.YY] [--to-time HH:MM]
              [--kind z|receipt|both] [-o FILE]
                       the same for the documents of a span of dates; an omitted field is
                       the first of the previous month 00:00, or today and now
  numbers [--from DD.MM.YY] [--from-time HH:MM] [--to DD.MM.YY] [--to-time HH:MM]
                       print the first and the last document number of the span
  print FIRST LAST [--kind z|receipt|both] [--yes]
                       have the register print documents FIRST to LAST on its paper;
                       without --yes the question is answered No and nothing is sent
  render JOURNAL.xml [--kind z|receipt|both] [-o FILE]   render a saved journal text
  detect [PORT...] [--write-config]
                       find the register: each port (the given ones, or every serial
                       device) at each speed in both variants, with the diagnostic command
                       only; prints "PORT SPEED VARIANT" and the register's identity;
                       --write-config stores port and speed in fpinit.ini

fetch, fetch-dates, numbers and print connect as diagnose does first. While fetching,
progress is shown on stderr when it is a terminal.

Exit status: 0 done; 1 the register, the line or the journal failed (no reply, an error
code, a document that arrived in part, failure lines, nothing printed); 2 bad usage or a
port that cannot be opened; 130 stopped by Ctrl-C.
)";
}

}  // namespace cli
