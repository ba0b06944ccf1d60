// Dialogs for tests: records every message and question, answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "messages/dialogs.hpp"

namespace testing_support {

class ScriptedDialogs final : public messages::Dialogs {
 public:
  void show_message(std::string_view text) override { messages.emplace_back(text); }
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override {
    questions.push_back(std::string(caption) + "|" + std::string(text));
    return next_answer();
  }
  bool ask_yes_no(std::string_view caption, std::string_view text) override {
    questions.push_back(std::string(caption) + "|" + std::string(text));
    return next_answer();
  }
  void process_pending_messages() override { ++pending_processed; }

  std::vector<std::string> messages;
  std::vector<std::string> questions;  // caption|text
  std::deque<bool> answers;            // Retry / Yes = true; an empty script answers false
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
