// SPDX-License-Identifier: GPL-3.0-or-later
// The archive window opened on an archive as "Открыть архив…" opens it: the file read on
// the window's reader thread, the first selection (the latest day) shown in the list and
// painted; then every document of the archive shown, and a text held by no line found
// over all their lines. The benchmark table reads the times.
// Usage: archive_window_open FILE
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>

#include <cstdio>
#include <string>

#include "app/line_search.hpp"
#include "messages/status_reporter.hpp"
#include "support/scripted_dialogs.hpp"
#include "text/cp1251.hpp"
#include "ui/archive_window.hpp"
#include "ui/attention_dialog.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: archive_window_open FILE\n", stderr);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  messages::ProgramState program;
  testing_support::ScriptedDialogs dialogs;
  ui::AttentionDialog attention;
  ui::ArchiveWindow window(program, dialogs, attention);

  QElapsedTimer clock;
  clock.start();
  bool opened = false;
  window.open_archive(argv[1], [&](bool ok) { opened = ok; });
  window.wait_until_idle(600000);
  window.lines_view->repaint();
  QCoreApplication::processEvents();
  const double first_screen = static_cast<double>(clock.elapsed()) / 1000.0;
  if (!opened) {
    std::fputs("archive_window_open: the archive did not open\n", stderr);
    return 1;
  }

  window.by_numbers_button->setChecked(true);
  window.first_number_edit->setText(QStringLiteral("1"));
  window.last_number_edit->setText(QString::number(window.logic().summary().documents));
  clock.restart();
  window.show_selection();
  window.wait_until_idle(600000);
  const double whole = static_cast<double>(clock.elapsed()) / 1000.0;

  clock.restart();
  const auto found = app::find_line(window.shown_lines(), text::from_utf8("кефір 3,2%"), std::size_t{0},
                                    app::SearchDirection::Forwards);
  const double finding = static_cast<double>(clock.elapsed()) / 1000.0;
  std::printf("first screen %.2f s, all %lld documents %.2f s (%zu lines), find %.2f s%s\n", first_screen,
              static_cast<long long>(window.logic().summary().documents), whole, window.shown_lines().size(), finding,
              found ? " (found)" : "");
  return 0;
}
