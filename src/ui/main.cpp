// SPDX-License-Identifier: GPL-3.0-or-later
// talqen: the desktop program.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "app/config_file.hpp"
#include "messages/status_reporter.hpp"
#include "ui/program_windows.hpp"
#include "ui/qt_dialogs.hpp"
#include "ui/simulator_process.hpp"
#include "ui/ui_clock.hpp"
#include "ui/ui_thread.hpp"

namespace {

// An exception that escapes a handler is shown in a message box, and the program goes on.
class TalqenApplication final : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), ui::kApplicationTitle, QString::fromLocal8Bit(e.what()));
    } catch (...) {
      QMessageBox::critical(activeWindow(), ui::kApplicationTitle, QCoreApplication::translate("ui::TalqenApplication", "Непредвиденная ошибка"));
    }
    return false;
  }
};

constexpr const char* kUsage =
    "usage: talqen [--simulator]\n"
    "\n"
    "Reads a fiscal register's electronic control tape over a serial line: receipts and\n"
    "Z-reports fetched by number or by date, shown as the register printed them, saved to\n"
    "a text file or printed by the register again, and kept in a tape archive.\n"
    "\n"
    "Options:\n"
    "  --simulator  run talqen-sim (Datecs, sample journal) beside the program and offer its port first\n"
    "  --help       this text\n";

}  // namespace

int main(int argc, char** argv) {
  // Read before any window exists, so that --help needs no display.
  bool simulate = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--simulator") {
      simulate = true;
    } else {
      std::fputs(kUsage, a == "--help" ? stdout : stderr);
      return a == "--help" ? 0 : 2;
    }
  }
  TalqenApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Talqen"));
  app.setQuitOnLastWindowClosed(false);  // only the main window's closing ends the program

  ui::QtDialogs dialogs;
  // A Datecs result without a route of its own reaches the user from the worker.
  ui::UiThreadDialogs program_dialogs(dialogs);
  messages::set_program_dialogs(&program_dialogs);
  ui::UiClock clock;
  ui::SimulatorProcess simulator;
  ui::ProgramWindows windows(messages::program_state(), dialogs, clock);
  // The language of fpinit.ini in the program directory, else the system's.
  std::error_code ec;
  app::fix_program_directory(messages::program_state(), std::filesystem::current_path(ec).string());
  windows.translation.apply(app::stored_language(messages::program_state().config_path)
                                .value_or(app::language_of_system(
                                    ui::Translation::system_language().toStdString())));
  windows.main_window.attach_translation(windows.translation);
  if (simulate) {
    QString error;
    if (!simulator.start(QStringLiteral("datecs"), error)) {
      std::fprintf(stderr, "talqen: %s\n", error.toLocal8Bit().constData());
      return 1;
    }
    windows.main_window.offer_port_first(simulator.port());
  }
  windows.main_window.show();
  return app.exec();
}
