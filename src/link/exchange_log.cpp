// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/exchange_log.hpp"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "text/cp1251.hpp"

namespace device_link {

using namespace text::literals;

namespace {

std::string current_directory() {
  std::error_code ec;
  const auto dir = std::filesystem::current_path(ec);
  return ec ? std::string{} : dir.string();
}

std::string stamp(const LocalTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%2d-%02d-%4d %2d:%02d:%02d", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  return buf;
}

}  // namespace

ExchangeLog::ExchangeLog(Clock& clock, DirectoryFn directory)
    : clock_(clock), directory_(directory ? std::move(directory) : DirectoryFn(current_directory)) {}

void ExchangeLog::set_log_name(std::string_view name) {
  name_ = name.substr(0, kMaxNameLength);
}

std::string ExchangeLog::format_entry(const LocalTime& t, std::string_view first,
                                      std::string_view second) {
  if (first.empty()) return ";" + std::string("Начало сеанса   "_cp1251) + stamp(t) + " \r\n";
  if (second.empty()) return ";" + std::string("Конец Сеанса   "_cp1251) + stamp(t) + " \r\n";
  std::string entry = ";" + stamp(t) + "  ";
  entry += first;
  entry += "\r\n";
  entry += second;
  entry += "\r\n";
  return entry;
}

void ExchangeLog::write_log(std::string_view first, std::string_view second) {
  if (name_.empty()) return;
  if (path_.empty()) {
    // A working directory that cannot be read leaves the name relative, not at the root.
    path_ = directory_();
    if (!path_.empty()) path_ += static_cast<char>(std::filesystem::path::preferred_separator);
    path_ += name_;
  }
  const std::string entry = format_entry(clock_.local_time(), first, second);
  // Open, append, close: every entry is on disk at once. A log that cannot be written is
  // not the user's concern during an exchange, so failures are ignored.
  if (std::FILE* f = std::fopen(path_.c_str(), "ab")) {
    std::fwrite(entry.data(), 1, entry.size(), f);
    std::fclose(f);
  }
}

}  // namespace device_link
