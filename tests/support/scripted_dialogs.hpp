// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs for tests: records every message and question, answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "messages/dialogs.hpp"

namespace testing_support {

class ScriptedDialogs final : public messages::Dialogs {
 public:
  void show_message(std::string_view text) override {
    messages.emplace_back(text);
    if (on_message) on_message();
  }
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override {
    questions.push_back(std::string(caption) + "|" + std::string(text));
    return next_answer();
  }
  bool ask_yes_no(std::string_view caption, std::string_view text) override {
    questions.push_back(std::string(caption) + "|" + std::string(text));
    return next_answer();
  }
  void show_captioned_message(std::string_view caption, std::string_view text) override {
    messages.push_back(std::string(caption) + "|" + std::string(text));
  }
  std::optional<std::string> ask_save_path(std::string_view filter, std::string_view proposed,
                                           std::string_view extension) override {
    questions.push_back("save|" + std::string(filter) + "|" + std::string(proposed) + "|" + std::string(extension));
    return save_path;
  }
  void process_pending_messages() override {
    ++pending_processed;
    if (on_pending) on_pending();
  }

  std::vector<std::string> messages;
  std::vector<std::string> questions;  // caption|text
  std::deque<bool> answers;            // Retry / Yes = true; an empty script answers false
  std::optional<std::string> save_path;  // the save dialog's answer; nothing: cancelled
  std::function<void()> on_pending;      // what the user does while messages are processed
  std::function<void()> on_message;      // what happens while a message is shown
  int pending_processed = 0;

 private:
  bool next_answer() {
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace testing_support
