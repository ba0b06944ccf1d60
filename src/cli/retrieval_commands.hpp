// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli fetch, fetch-dates, numbers and print: the journal window's handlers from a
// terminal. Each connects as diagnose does, works, and disconnects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "messages/dialogs.hpp"
#include "render/render_context.hpp"

namespace cli {

// fetch [--kind z|receipt|both] FIRST LAST|end [-o FILE]
int run_fetch(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs,
              const render::Organisation& organisation);
// fetch-dates [--from DD.MM.YY] [--from-time HH:MM] [--to ...] [--to-time ...] [--kind ...] [-o FILE]
int run_fetch_dates(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs,
                    const render::Organisation& organisation);
// numbers [--from ...] [--from-time ...] [--to ...] [--to-time ...]
int run_numbers(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs);
// print FIRST LAST|end [--kind ...] [--yes]
int run_print(const Options& options, const Terminal& terminal, messages::Dialogs& dialogs);

// The text of a date field for a real calendar date DD.MM.YY, of a time field for HH:MM
// or H:MM from 00:00 to 23:59 (as the field holds it, HH:MM); nullopt for anything else.
std::optional<std::string> date_field_text(const std::string& typed);
std::optional<std::string> time_field_text(const std::string& typed);

// FIRST and LAST|end as fetch takes them: FIRST 1 or more, LAST not below it (nothing
// for end). Nothing, with the reason in error, for anything else.
struct NumberRange {
  std::int64_t first = 1;
  std::optional<std::int64_t> last;
};
std::optional<NumberRange> number_range(std::string_view first_text, std::string_view last_text, std::string& error);

// "Документы 3–5 не запрошены", "Документ 3 не запрошен" (Windows-1251).
std::string not_asked_line(std::int64_t first, std::int64_t last);

}  // namespace cli
