// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/raw_command.hpp"

#include <cstdio>
#include <cstring>

#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "link/serial_port.hpp"
#include "messages/status_word.hpp"
#include "text/cp1251.hpp"

namespace cli {

using namespace text::literals;

namespace {

datecs::RetData delivered;
void keep_result(datecs::RetData& result) { delivered = result; }

std::string hex_number(unsigned value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", width, value);
  return buf;
}

std::string text_or_empty(const char* s) { return s ? s : ""; }

}  // namespace

std::vector<std::string> format_record(const datecs::RetData& r, std::string_view sent_frame,
                                       std::string_view raw_reply) {
  std::vector<std::string> lines;
  lines.push_back("Command: " + hex_number(static_cast<unsigned>(r.Command), 2));
  lines.push_back("CommandName: " + text_or_empty(r.CommandName));
  lines.push_back("Status: " + hex_number(r.Status, 8));
  lines.push_back("ErrorField: " + std::string(datecs::error_field(r)));
  lines.push_back("FieldCount: " + std::to_string(r.FieldCount));
  for (int i = 0; i < r.FieldCount && i < datecs::kMaxFields; ++i)
    lines.push_back("Field" + std::to_string(i + 1) + ": " + text_or_empty(r.Fields[i]));
  lines.push_back("StatusBytes: " + hex_bytes({reinterpret_cast<const char*>(r.StatusBytes), datecs::kStatusBytes}));
  lines.push_back("ReplyText: " + text_or_empty(r.ReplyText));
  lines.push_back("SentFrame: " + hex_bytes(sent_frame));
  lines.push_back("RawReply: " + hex_bytes(raw_reply));
  return lines;
}

int run_raw(const Options& options, const Terminal& terminal) {
  if (options.arguments.empty() || options.arguments.size() > 2) {
    return usage_error(terminal, "raw", "needs CMD and at most one DATA argument");
  }
  const auto command = parse_number(options.arguments[0]);
  if (!command || *command < 0x20 || *command > 0xFF) {
    return usage_error(terminal, "raw", "CMD must be a number from 0x20 to 0xFF: " + options.arguments[0]);
  }
  if (options.port.empty()) {
    return usage_error(terminal, "raw", "needs --port (or Port= in fpinit.ini)");
  }
  const std::string data = options.arguments.size() > 1 ? terminal.typed(options.arguments[1]) : "";
  const int code = static_cast<int>(*command);

  const bool quendar_variant = options.protocol == Protocol::Quendar;
  device_link::ProtocolDriver& driver =
      quendar_variant ? quendar::program_driver() : datecs::program_driver();
  const int opened = quendar_variant ? quendar::open_port(options.port, options.speed)
                                     : datecs::open_port(options.port, options.speed);
  if (opened == -1) {
    terminal.error(std::string("Невозможно подключить порт"_cp1251) + "\n" + device_link::last_open_error());
    return kExitUsage;
  }

  datecs::RetData result;
  if (quendar_variant) {
    quendar::set_reply_count(options.reply_count);
    result = *quendar::execute_command(code, data);
  } else {
    datecs::set_quick_end(options.quick_end);
    datecs::send_with_callback(keep_result, 0, code, data);
    result = delivered;
  }
  const std::string raw(driver.last_raw_reply());
  for (const std::string& l : format_record(result, std::string_view(result.SentFrame, strnlen(result.SentFrame, sizeof result.SentFrame)), raw))
    terminal.line(l);

  if (quendar_variant)
    quendar::close_port();
  else
    datecs::close_port();
  return (result.Status & status::kLinkBits) != 0 ? kExitFailed : kExitDone;
}

}  // namespace cli
