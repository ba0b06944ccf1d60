// SPDX-License-Identifier: GPL-3.0-or-later
// How the system reaches the user: message boxes, questions and letting the window
// process pending events during long work. The desktop program answers with real boxes,
// talqen-cli with stderr and flags, tests with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace messages {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A plain message box with an OK button (Windows-1251 text), under the program's title.
  virtual void show_message(std::string_view text) = 0;
  // The same under a caption of its own; where captions are not shown, the text alone.
  virtual void show_captioned_message(std::string_view caption, std::string_view text) {
    (void)caption;
    show_message(text);
  }
  // A Retry/Cancel box; true for Retry.
  virtual bool ask_retry_cancel(std::string_view caption, std::string_view text) = 0;
  // A Yes/No box; true for Yes.
  virtual bool ask_yes_no(std::string_view caption, std::string_view text) = 0;
  // A file-save dialog: the chosen path, or nothing when the user cancelled. A name
  // typed without an extension gets default_extension.
  virtual std::optional<std::string> ask_save_path(std::string_view filter, std::string_view proposed_name,
                                                   std::string_view default_extension) = 0;
  // Lets the window handle what is pending (repaint, a click on Cancel).
  virtual void process_pending_messages() = 0;
};

// Shows nothing and answers Cancel and No: what a program without a user gets.
class SilentDialogs final : public Dialogs {
 public:
  void show_message(std::string_view) override {}
  bool ask_retry_cancel(std::string_view, std::string_view) override { return false; }
  bool ask_yes_no(std::string_view, std::string_view) override { return false; }
  std::optional<std::string> ask_save_path(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void process_pending_messages() override {}
};

// The program's dialogs; the desktop program and talqen-cli install theirs at start-up
// (nullptr restores the silent default).
Dialogs& program_dialogs();
void set_program_dialogs(Dialogs* dialogs);

}  // namespace messages
