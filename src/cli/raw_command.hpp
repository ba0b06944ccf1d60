// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli raw: one command through the chosen variant, the result record printed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "link/exchange_result.hpp"

namespace cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int run_raw(const Options& options, const Terminal& terminal);

// The record as "Name: value" lines (Windows-1251). sent_frame and raw_reply are the
// bytes of the exchange.
std::vector<std::string> format_record(const datecs::RetData& r, std::string_view sent_frame,
                                       std::string_view raw_reply);

}  // namespace cli
