// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.hpp"

#include <cerrno>
#include <cstdlib>

#include "app/config_file.hpp"

#ifndef TALQEN_VERSION
#define TALQEN_VERSION "unknown"
#endif

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

std::string lower_case(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return lower;
}

std::optional<std::pair<std::string, std::string>> split_assignment(const std::string& argument) {
  if (argument.rfind("--", 0) != 0) return std::nullopt;
  const std::size_t eq = argument.find('=');
  if (eq == std::string::npos || eq == 2) return std::nullopt;
  return std::pair{argument.substr(0, eq), argument.substr(eq + 1)};
}

namespace {

constexpr std::string_view kValueOptions[] = {"--port",       "--speed",   "--protocol", "--password",
                                              "--reply",      "--retries", "--encoding", "--on-timeout"};

bool takes_value(std::string_view option) {
  for (std::string_view o : kValueOptions)
    if (o == option) return true;
  return false;
}

// The option's value stored into o; the reason when it is not usable.
std::string set_option(Options& o, const std::string& option, const std::string& typed) {
  const std::string v = lower_case(typed);
  if (option == "--port") {
    o.port = typed;
  } else if (option == "--speed") {
    const auto n = parse_number(typed);
    if (!n || *n <= 0 || *n > 4000000) return "bad speed: " + typed;
    o.speed = static_cast<int>(*n);
    o.speed_given = true;
  } else if (option == "--protocol") {
    if (v == "datecs") o.protocol = Protocol::Datecs;
    else if (v == "quendar") o.protocol = Protocol::Quendar;
    else return "unknown protocol: " + typed + " (datecs or quendar)";
    o.protocol_given = true;
  } else if (option == "--password") {
    o.password = typed;
  } else if (option == "--reply") {
    const auto n = parse_number(typed);
    if (!n || *n > 100) return "bad reply count: " + typed;
    o.reply_count = static_cast<int>(*n);
  } else if (option == "--retries") {
    const auto n = parse_number(typed);
    if (!n || *n > 100) return "bad --retries: " + typed + " (0 to 100)";
    o.retries = static_cast<int>(*n);
  } else if (option == "--on-timeout") {
    // retry was this option's first name for going on; it never asked the document again.
    if (v == "continue" || v == "retry") o.continue_after_timeout = true;
    else if (v == "cancel") o.continue_after_timeout = false;
    else return "unknown answer: " + typed + " (continue or cancel)";
  } else {
    if (v == "utf-8" || v == "utf8") o.encoding = Encoding::Utf8;
    else if (v == "cp1251" || v == "windows-1251") o.encoding = Encoding::Cp1251;
    else return "unknown encoding: " + typed + " (utf-8 or cp1251)";
  }
  return {};
}

}  // namespace

ParseResult parse_command_line(const std::vector<std::string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // raw takes free text after its command; every other command accepts the global
    // options among its own arguments.
    if (o.command == "raw" && !o.arguments.empty()) {
      o.arguments.push_back(a);
      continue;
    }
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a == "--version") {
      o.version = true;
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
    const auto assignment = split_assignment(a);
    const bool global = takes_value(a) || (assignment && takes_value(assignment->first));
    if (!global) {
      if (!o.command.empty())
        o.arguments.push_back(a);
      else if (a.rfind("--", 0) == 0)
        return {std::nullopt, "unknown option: " + a};
      else
        o.command = a;
      continue;
    }
    if (!assignment && i + 1 >= args.size()) return {std::nullopt, a + " needs a value"};
    const std::string error =
        assignment ? set_option(o, assignment->first, assignment->second) : set_option(o, a, args[++i]);
    if (!error.empty()) return {std::nullopt, error};
  }
  return {o, {}};
}

void use_stored_settings(Options& options, const std::string& config_path) {
  if (options.port.empty()) options.port = app::stored_port(config_path);
  if (!options.speed_given)
    if (const std::optional<int> speed = app::stored_speed(config_path)) options.speed = *speed;
  if (!options.protocol_given)
    options.protocol = app::stored_protocol(config_path) == app::ProtocolVariant::Quendar ? Protocol::Quendar
                                                                                          : Protocol::Datecs;
}

std::string version_text() { return std::string("talqen-cli ") + TALQEN_VERSION + "\n"; }

namespace {

constexpr std::string_view kOptionsText = R"(Options:
  --port NAME          serial device: a path (/dev/ttyUSB0) or a COM name (COM1 is /dev/ttyS0);
                       default the port stored in fpinit.ini
  --speed BAUD         line speed; default the stored speed, else 9600
  --protocol VARIANT   datecs or quendar; default Protocol= in fpinit.ini, else datecs
  --password TEXT      register password for the quendar variant, default 271828
  --reply N            quendar: repeats of a request whose reply is malformed, default 1
  --encoding ENC       text on the terminal: utf-8 (default) or cp1251
  --yes                answer Yes to the program's Yes/No questions
  --on-timeout ANSWER  answer to "Таймаут" during a retrieval: continue with the next
                       document, or cancel (default: stop, keep what came); retry is
                       accepted as another name for continue
  --retries N          ask a document whose fragments failed again from its first
                       fragment up to N times before leaving it out, and send a date
                       search whose reply was lost or damaged again as often; default 1
  --quick-end          datecs: end each exchange at the reply's terminator instead of
                       after one more 100 ms read (as QuickEnd=1 in fpinit.ini does)
  --help               this text; after a command, that command's part of it
  --version            the program's version
An option that takes a value may also be written --option=value. Except after raw's CMD,
these options may also stand among a command's arguments.
)";

struct CommandText {
  std::string_view name;
  std::string_view text;
};

constexpr CommandText kCommands[] = {
    {"ports", "  ports                list the serial devices of this computer\n"},
    {"diagnose", R"(  diagnose             connect as the main window does (fpinit.ini in the current
                       directory), print the status-bar text, disconnect
)"},
    {"raw", R"(  raw CMD [DATA]       send one command (CMD decimal or 0x-hex, 0x20..0xFF) with DATA and
                       print the result record, one "Name: value" line each
)"},
    {"fetch", R"(  fetch [--kind z|receipt|both] FIRST LAST|end [-o FILE]
                       fetch documents FIRST to LAST (Z-report numbers with --kind z; both
                       by default), write the journal text to temp.xml and print the
                       documents as the register printed them; LAST "end" asks the
                       register for its last document number first. -o writes the lines
                       to FILE in Windows-1251 with CR LF instead, only when documents
                       came, never over temp.xml; -o - is stdout. Ctrl-C (or SIGTERM,
                       SIGHUP) stops after the current document and keeps what came; a
                       second one stops at once
)"},
    {"fetch-dates", R"(  fetch-dates [--from DD.MM.YY] [--from-time HH:MM] [--to DD.MM.YY] [--to-time HH:MM]
              [--kind z|receipt|both] [-o FILE]
                       the same for the documents of a span of dates; an omitted start is
                       the first of the previous month 00:00, an omitted end today now;
                       --to without --to-time is the end of that day (23:59)
)"},
    {"numbers", R"(  numbers [--from DD.MM.YY] [--from-time HH:MM] [--to DD.MM.YY] [--to-time HH:MM]
                       print the first and the last document number of the span
)"},
    {"print", R"(  print FIRST LAST|end [--kind z|receipt|both] [--yes]
                       have the register print documents FIRST to LAST on its paper;
                       without --yes the question is answered No and nothing is sent
)"},
    {"archive", R"(  archive [--db FILE] [--push CENTRE] [FIRST [LAST|end]]
                       copy documents FIRST (default: where the register's tape begins,
                       as it answers the widest span of dates) to LAST (default end: the
                       register's last document) into the register's archive, FILE
                       (default SERIAL.talqen.db in the current directory, after the
                       factory number), asking only for the numbers it does not hold yet;
                       each document is kept as soon as it came whole, so a run stopped
                       in any way goes on where it stopped. An archive of another register
                       is refused. Prints one line: documents held before, fetched now,
                       absent on the register, incomplete (asked again next run).
                       --push CENTRE then pushes the archive to the chain's central
                       database as push does (also when the register could not be
                       reached), and prints push's line too; the exit status is the
                       worse of the two: the shop PC's nightly job
)"},
    {"push", R"(  push --db FILE --to CENTRE
                       send what the archive FILE holds and the chain's central database
                       CENTRE does not (documents, numbers the register said it lacks,
                       where its tape begins), in batches of one transaction each; the
                       archive is only read. CENTRE: postgresql://..., postgres://... or
                       service=NAME (pg_service.conf); never with a password, which
                       belongs in the password file (~/.pgpass, PGPASSFILE) or the
                       service file. A stored document is never overwritten: one whose
                       text differs is a conflict, named on stderr and kept at the
                       centre by both texts' SHA-256. Prints one line: documents pushed
                       now, held by the centre already, in conflict. Stopped in any way,
                       what went in stays and the next push goes on. Exit 0 all went in,
                       1 a conflict, a row of the archive that cannot be read or another
                       register of that factory number at the centre, 2 a centre that
                       cannot be reached or lacks the schema
)"},
    {"central", R"(  central init --to CENTRE
                       make the central database's schema (talqen) and grant the roles
                       talqen_push (may add, never change or delete a document) and
                       talqen_read (may read); run again, it changes nothing. A centre
                       of a later schema is refused (exit 2)
)"},
    {"render", R"(  render JOURNAL.xml [--kind z|receipt|both] [-o FILE]
                       render a saved journal text; of a text cut short, the documents
                       that came whole
)"},
    {"export", R"(  export --db FILE|CENTRE [--register ZN] [FIRST LAST|end | --from DD.MM.YY --to DD.MM.YY]
         [--kind z|receipt|both] --format xml|text|csv|json|xlsx [-o FILE]
                       write documents of an archive, offline: FIRST to LAST (Z-report
                       numbers with --kind z, as fetch takes them), the days --from to
                       --to, or the whole archive. xml: the journal text a fetch of them
                       writes to temp.xml; text: the lines fetch and render print; csv: a
                       row per receipt line and Z-report total; json: an array of the
                       documents (csv and json in UTF-8); xlsx: a workbook of the
                       documents, the Z-reports' totals and the csv rows, for a
                       spreadsheet (needs -o). README.md names the columns and fields.
                       --kind picks the documents text, csv, json and xlsx show; xml
                       keeps every selected one, as temp.xml does. -o FILE is written only
                       when the whole export succeeded; without it, stdout. With the
                       chain's centre (postgresql://..., postgres://... or service=NAME;
                       no password in it) the register --register ZN is read from there,
                       and the output is that of its archive file, byte for byte
)"},
    {"verify", R"(  verify --db FILE|CENTRE [--register ZN] [FIRST LAST|end | --from DD.MM.YY --to DD.MM.YY]
         [--format text|json]
                       check an archive, offline: every number of the selection held (or
                       named absent by the register below a later one), Z-report and
                       receipt numbers following on, dates and times in order, and each
                       Z-report's totals against the receipts of its shift; numbers below
                       where the register's tape begins are one note. One line per
                       finding (tab-separated: finding or note, document, Z, what,
                       expected, found, difference), then a summary line; json: the same
                       as one object. Exit 0 nothing found, 1 something found. A
                       register of the centre (--db CENTRE --register ZN) is verified as
                       its archive file is, but for the file's damage check
)"},
    {"registers", R"(  registers --db CENTRE [--format text|csv|json]
                       the chain's overview: one line per register of the centre, ZN, FN,
                       documents held, the first and the last number, the last
                       document's date and time, the last push that ended (when, UTC, and
                       from which host) and the conflicts found; text in aligned columns
                       under a header, csv and json with the identifiers serial,
                       fiscal_number, documents, first_number, last_number,
                       last_document_time, last_push_at, last_push_host, conflicts
)"},
    {"detect", R"(  detect [PORT...] [--write-config]
                       find the register: each port (the given ones, or every serial
                       device) at each speed in both variants, with the diagnostic command
                       only; prints "PORT SPEED VARIANT" and the register's identity;
                       --write-config stores port, speed and variant in fpinit.ini
)"},
};

constexpr std::string_view kStreamsText = R"(
stdout carries data only: document lines, the two numbers, a record, an identity. Messages,
questions, failure lines and progress (when stderr is a terminal) go to stderr.

Exit status: 0 done; 1 the register, the line or the journal failed (no reply, an error
code, a document that arrived in part, failure lines, nothing printed); 2 bad usage or a
port that cannot be opened; 130, 143, 129 stopped by SIGINT (Ctrl-C), SIGTERM, SIGHUP,
after writing every document that came whole.
)";

}  // namespace

std::string usage_text() {
  std::string text = R"(usage: talqen-cli [OPTIONS] COMMAND [ARGUMENTS]

Reads a fiscal register's electronic control tape over a serial line.

)";
  text += kOptionsText;
  text += "\nCommands:\n";
  for (const CommandText& c : kCommands) text += c.text;
  text += "\nfetch, fetch-dates, numbers, print and archive connect as diagnose does first.\n";
  text += kStreamsText;
  return text;
}

std::string command_help(std::string_view command) {
  for (const CommandText& c : kCommands)
    if (c.name == command)
      return "usage: talqen-cli [OPTIONS] " + std::string(c.text.substr(2)) + "\n" + std::string(kOptionsText) +
             std::string(kStreamsText);
  return {};
}

}  // namespace cli
