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
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override;
  bool ask_yes_no(std::string_view caption, std::string_view text) override;
  void process_pending_messages() override {}

 private:
  const Terminal& terminal_;
  const Options& options_;
};

}  // namespace cli
