// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of the desktop program, created in the program's order: the main window,
// the About box, the attention window, the journal window and the archive window, the
// worker that talks to the register for them, and the language they speak.
#pragma once

#include <string>

#include "ui/exchange_worker.hpp"
#include "ui/main_window.hpp"
#include "ui/attention_dialog.hpp"
#include "ui/journal_window.hpp"
#include "ui/archive_window.hpp"
#include "ui/about_box.hpp"
#include "ui/translation.hpp"

namespace ui {

struct ProgramWindows {
  ProgramWindows(messages::ProgramState& program, messages::Dialogs& dialogs, device_link::Clock& clock,
                 std::string temp_xml_path = "temp.xml")
      : main_window(program, dialogs, clock, worker),
        about_box(&main_window),
        journal_window(program, dialogs, attention, main_window, [this] { return main_window.datecs_selected(); }, clock,
               worker, std::move(temp_xml_path)),
        archive_window(program, dialogs, attention) {
    main_window.attach(about_box, journal_window, journal_window.logic().flags);
    main_window.attach_archive(archive_window, attention);
    main_window.attach_translation(translation);
  }
  // The windows go once the exchange under way has stopped.
  ~ProgramWindows() {
    journal_window.logic().RequestStop();
    worker.wait_until_finished();
  }
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // Until no exchange runs, at most bound_ms; true when none does.
  bool wait_until_idle(int bound_ms = 60000) { return worker.wait_until_idle(bound_ms); }

  Translation translation;  // first made, last gone: the core's texts are translated meanwhile
  ExchangeWorker worker;  // the one thread that talks to the register
  MainWindow main_window;
  AboutBox about_box;
  AttentionDialog attention;
  JournalWindow journal_window;
  ArchiveWindow archive_window;  // reads archives on a thread of its own
};

}  // namespace ui
