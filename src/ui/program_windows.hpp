// The windows of the desktop program, created in the program's order: the main window,
// the About box, the attention window and the journal window.
#pragma once

#include <string>

#include "ui/main_window.hpp"
#include "ui/attention_dialog.hpp"
#include "ui/journal_window.hpp"
#include "ui/about_box.hpp"

namespace ui {

struct ProgramWindows {
  ProgramWindows(messages::ProgramState& program, messages::Dialogs& dialogs, device_link::Clock& clock,
                 std::string temp_xml_path = "temp.xml")
      : main_window(program, dialogs, clock),
        about_box(&main_window),
        journal_window(program, dialogs, attention, main_window, [this] { return main_window.datecs_selected(); }, clock,
               std::move(temp_xml_path)) {
    main_window.attach(about_box, journal_window, journal_window.logic().flags);
  }

  MainWindow main_window;
  AboutBox about_box;
  AttentionDialog attention;
  JournalWindow journal_window;
};

}  // namespace ui
