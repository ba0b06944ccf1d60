// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_dialogs.hpp"

#include <string>

namespace cli {

void CliDialogs::show_captioned_message(std::string_view caption, std::string_view text) {
  terminal_.error(std::string(caption) + ": " + std::string(text));
}

bool CliDialogs::ask_retry_cancel(std::string_view caption, std::string_view text) {
  // Retry is the window's "go on with the next document".
  const bool go_on = options_.continue_after_timeout;
  terminal_.error(std::string(caption) + ": " + std::string(text) + (go_on ? "[continue]" : "[cancel]"));
  return go_on;
}

bool CliDialogs::ask_yes_no(std::string_view caption, std::string_view text) {
  terminal_.error(std::string(caption) + ": " + std::string(text) + (options_.yes ? " [yes]" : " [no]"));
  return options_.yes;
}

}  // namespace cli
