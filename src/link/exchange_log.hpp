// SPDX-License-Identifier: GPL-3.0-or-later
// The exchange log of the Quendar variant: one entry per request, reply, port opening and
// closing, appended to a text file whose path is fixed by the first entry of the run.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/clock.hpp"

namespace device_link {

class ExchangeLog {
 public:
  static constexpr std::size_t kMaxNameLength = 299;

  using DirectoryFn = std::function<std::string()>;
  // directory gives the current working directory at the moment of the first entry.
  explicit ExchangeLog(Clock& clock, DirectoryFn directory = {});

  // An empty name (the default) keeps the log off.
  void set_log_name(std::string_view name);
  // Appends one entry: first empty is the session start, second empty the session end,
  // otherwise first and second on two lines after the time stamp.
  void write_log(std::string_view first, std::string_view second);

  const std::string& path() const { return path_; }

  // The text of one entry, line breaks CR LF.
  static std::string format_entry(const LocalTime& t, std::string_view first, std::string_view second);

 private:
  Clock& clock_;
  DirectoryFn directory_;
  std::string name_;
  std::string path_;
};

}  // namespace device_link
