// SPDX-License-Identifier: GPL-3.0-or-later
// The user as talqen-cli meets them: messages on stderr, questions answered by flags.
#pragma once

#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"
#include "messages/dialogs.hpp"

namespace cli {

class CliDialogs final : public messages::Dialogs {
 public:
  CliDialogs(const Terminal& terminal, const Options& options) : terminal_(terminal), options_(options) {}
  void show_message(std::string_view text) override { terminal_.error(text); }
  void show_captioned_message(std::string_view caption, std::string_view text) override;
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override;
  bool ask_yes_no(std::string_view caption, std::string_view text) override;
  // The file is named on the command line (-o), never asked for.
  std::optional<std::string> ask_save_path(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void process_pending_messages() override {}

 private:
  const Terminal& terminal_;
  const Options& options_;
};

}  // namespace cli
