// SPDX-License-Identifier: GPL-3.0-or-later
// The user as the desktop program meets them: real message boxes, questions and the
// save dialog, each modal over the window that is active.
#pragma once

#include <QString>

#include "messages/dialogs.hpp"

namespace ui {

// The title of the program's message boxes.
inline const QString kApplicationTitle = QStringLiteral("Talqen");

class QtDialogs final : public messages::Dialogs {
 public:
  void show_message(std::string_view text) override;
  void show_captioned_message(std::string_view caption, std::string_view text) override;
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override;
  bool ask_yes_no(std::string_view caption, std::string_view text) override;
  std::optional<std::string> ask_save_path(std::string_view filter, std::string_view proposed_name,
                                           std::string_view default_extension) override;
  void process_pending_messages() override;
};

}  // namespace ui
