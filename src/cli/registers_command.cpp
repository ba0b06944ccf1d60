// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/registers_command.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "archive/central_registers.hpp"
#include "archive/centre_address.hpp"
#include "archive/journal_export.hpp"
#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "text/atomic_file.hpp"
#include "text/cp1251.hpp"

namespace cli {

namespace {

enum class Form { Text, Csv, Json };

// The identifiers of csv and json, in order; the text form's header says them in words.
constexpr std::array<std::string_view, 9> kFields = {"serial",        "fiscal_number",      "documents",
                                                     "first_number",  "last_number",        "last_document_time",
                                                     "last_push_at",  "last_push_host",     "conflicts"};
constexpr std::array<std::string_view, 9> kHeader = {"ZN",    "FN",            "documents", "first",    "last",
                                                     "last document", "last push", "from host", "conflicts"};

std::string number_text(const std::optional<std::int64_t>& number) {
  return number ? std::to_string(*number) : std::string();
}

// YYYYMMDDhhmmss as "YYYY-MM-DDThh:mm:ss" (a program reads it) or "DD.MM.YYYY hh:mm:ss".
std::string timestamp_text(const std::string& ts, bool for_people) {
  if (ts.size() != 14) return {};
  const std::string time = ts.substr(8, 2) + ":" + ts.substr(10, 2) + ":" + ts.substr(12, 2);
  if (for_people) return ts.substr(6, 2) + "." + ts.substr(4, 2) + "." + ts.substr(0, 4) + " " + time;
  return ts.substr(0, 4) + "-" + ts.substr(4, 2) + "-" + ts.substr(6, 2) + "T" + time;
}

// "YYYY-MM-DDThh:mm:ssZ" as "DD.MM.YYYY hh:mm:ss UTC".
std::string moment_for_people(const std::string& at) {
  if (at.size() != 20) return at;
  return at.substr(8, 2) + "." + at.substr(5, 2) + "." + at.substr(0, 4) + " " + at.substr(11, 8) + " UTC";
}

// The fields of a register in kFields' order, Windows-1251; empty where there is no value.
std::array<std::string, 9> fields_of(const archive::CentralRegister& r, bool for_people) {
  return {r.serial,
          r.fiscal_number,
          std::to_string(r.documents),
          number_text(r.first_number),
          number_text(r.last_number),
          timestamp_text(r.last_timestamp, for_people),
          for_people ? moment_for_people(r.last_push_at) : r.last_push_at,
          r.last_push_host,
          std::to_string(r.conflicts)};
}

// Aligned columns under a header line; numbers to the right, a value that is not there "-".
void write_text(const std::vector<archive::CentralRegister>& registers, const Terminal& terminal) {
  constexpr std::array<bool, 9> kRight = {false, false, true, true, true, false, false, false, true};
  std::vector<std::array<std::string, 9>> lines;
  lines.emplace_back();
  std::copy(kHeader.begin(), kHeader.end(), lines.back().begin());
  for (const archive::CentralRegister& r : registers) {
    lines.push_back(fields_of(r, true));
    for (std::string& field : lines.back())
      if (field.empty()) field = "-";
  }
  std::array<std::size_t, 9> widths{};
  for (const auto& line : lines)
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const std::string pad(widths[i] - line[i].size(), ' ');
      if (i > 0) text += "  ";
      text += kRight[i] ? pad + line[i] : (i + 1 < line.size() ? line[i] + pad : line[i]);
    }
    terminal.line(text);
  }
}

std::string csv_of(const std::vector<archive::CentralRegister>& registers) {
  std::string out;
  for (std::string_view field : kFields) (out += out.empty() ? "" : ",") += field;
  out += "\r\n";
  for (const archive::CentralRegister& r : registers) {
    const std::array<std::string, 9> fields = fields_of(r, false);
    for (std::size_t i = 0; i < fields.size(); ++i) (out += i == 0 ? "" : ",") += archive::csv_field(text::to_utf8(fields[i]));
    out += "\r\n";
  }
  return out;
}

// One object a line; a value that is not there is null, counts and numbers are numbers.
std::string json_of(const std::vector<archive::CentralRegister>& registers) {
  constexpr std::array<bool, 9> kNumber = {false, false, true, true, true, false, false, false, true};
  std::string out = "[";
  for (const archive::CentralRegister& r : registers) {
    const std::array<std::string, 9> fields = fields_of(r, false);
    out += out.size() == 1 ? "\n{" : ",\n{";
    for (std::size_t i = 0; i < fields.size(); ++i) {
      out += (i == 0 ? "\"" : ",\"") + std::string(kFields[i]) + "\":";
      out += fields[i].empty() ? "null" : kNumber[i] ? fields[i] : archive::json_string(text::to_utf8(fields[i]));
    }
    out += "}";
  }
  return out + (registers.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int run_registers(const Options& options, const Terminal& terminal) {
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--db", "--format"}, error);
  if (!args) return usage_error(terminal, "registers", error);
  if (!args->positional.empty()) return usage_error(terminal, "registers", "takes no " + args->positional.front());
  const std::string* db = args->value("--db");
  if (!db || !archive::names_centre(*db))
    return usage_error(terminal, "registers",
                       "needs --db CENTRE, the chain's central database (postgresql://..., postgres://... or service=NAME)");
  Form form = Form::Text;
  if (const std::string* format = args->value("--format")) {
    const std::string named = lower_case(*format);
    if (named == "csv")
      form = Form::Csv;
    else if (named == "json")
      form = Form::Json;
    else if (named != "text")
      return usage_error(terminal, "registers", "unknown format: " + *format + " (text, csv or json)");
  }
  const std::optional<archive::CentreAddress> address = archive::centre_address(*db, error);
  if (!address) return usage_error(terminal, "registers", error);

  std::vector<archive::CentralRegister> registers;
  try {
    archive::PostgresConnection centre = archive::connect_to_centre(*address);
    registers = archive::central_registers(centre);
  } catch (const archive::CentralError& e) {
    terminal.error(terminal.typed(std::string("talqen-cli registers: ") + e.what()));
    return kExitUsage;
  }
  if (form == Form::Text) {
    write_text(registers, terminal);
  } else if (!text::write_bytes(stdout, form == Form::Csv ? csv_of(registers) : json_of(registers))) {
    terminal.error(terminal.typed("talqen-cli registers: cannot write stdout"));
    return kExitFailed;
  }
  std::fflush(stdout);
  return kExitDone;
}

}  // namespace cli
