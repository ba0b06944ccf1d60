// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the README's pictures of the desktop program: its windows against the simulated
// register, in Russian and two of them in Ukrainian, on whatever display Qt is given (Xvfb
// in scripts/screenshots).
// Usage: screenshot_tour DIRECTORY
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "support/scripted_dialogs.hpp"
#include "text/cp1251.hpp"
#include "ui/program_windows.hpp"
#include "ui/simulator_process.hpp"
#include "ui/ui_clock.hpp"
#include "ui/verification_window.hpp"

namespace {

bool save(QWidget& w, const QString& path) {
  QCoreApplication::processEvents();
  const bool saved = w.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toLocal8Bit().constData());
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("usage: screenshot_tour DIRECTORY\n", stderr);
    return 2;
  }
  const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QTemporaryDir work;  // the program directory: fpinit.ini and temp.xml
  QDir::setCurrent(work.path());
  // The archive in the program's folder of this run, not the user's.
  qputenv("XDG_DATA_HOME", QFile::encodeName(work.path()));

  ui::SimulatorProcess simulator;
  QString error;
  if (!simulator.start(QStringLiteral("datecs"), error, QStringLiteral(TALQEN_SIM))) {
    std::fprintf(stderr, "screenshot_tour: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  // No boxes to click away; the attention window is pictured while documents arrive.
  testing_support::ScriptedDialogs dialogs;
  ui::UiClock clock;
  messages::ProgramState program;
  ui::ProgramWindows w(program, dialogs, clock, QDir(work.path()).filePath(QStringLiteral("temp.xml")).toStdString());
  w.main_window.offer_port_first(simulator.port());
  w.main_window.show();
  w.main_window.prepare_on_activation();
  w.main_window.connect_button->click();
  w.wait_until_idle();
  bool ok = save(w.main_window, out + QStringLiteral("/main-window.png"));

  w.main_window.open_journal_window();
  w.journal_window.first_number_edit->setText(QStringLiteral("1"));
  w.journal_window.last_number_edit->setText(QStringLiteral("11"));
  w.journal_window.fetch_by_numbers_button->click();
  // The attention window as the sixth document is fetched.
  const bool fetching = QTest::qWaitFor(
      [&] { return w.attention.progress_label->text().section(QLatin1Char(' '), -1).toInt() >= 5; }, 20000);
  ok = fetching && save(w.attention, out + QStringLiteral("/attention-window.png")) && ok;
  ok = w.wait_until_idle() && ok;
  // The last receipt of the day and the day's Z-report.
  const QAbstractItemModel& lines = *w.journal_window.lines_view->model();
  for (int row = lines.rowCount() - 1; row >= 0; --row)
    if (lines.index(row, 0).data().toString().contains(QStringLiteral("Z-звіт"))) {
      w.journal_window.lines_view->scrollTo(lines.index(std::max(0, row - 16), 0), QAbstractItemView::PositionAtTop);
      break;
    }
  ok = save(w.journal_window, out + QStringLiteral("/journal-window.png")) && ok;
  w.journal_window.close_button->click();

  // The archive filled from the register, one day shown and a line found.
  w.main_window.fill_archive_action->trigger();
  ok = w.wait_until_idle() && w.archive_window.wait_until_idle() && w.archive_window.isVisible() && ok;
  for (const std::string& told : dialogs.messages) std::printf("told: %s\n", text::to_utf8(told).c_str());
  w.archive_window.find_edit->setText(QStringLiteral("Z-ЗВІТ"));
  w.archive_window.find_next_button->click();
  w.archive_window.lines_view->scrollTo(w.archive_window.lines_view->currentIndex(), QAbstractItemView::PositionAtCenter);
  ok = save(w.archive_window, out + QStringLiteral("/archive-window.png")) && ok;
  // The whole tape verified.
  w.archive_window.by_numbers_button->setChecked(true);
  w.archive_window.first_number_edit->setText(QStringLiteral("1"));
  w.archive_window.last_number_edit->setText(QStringLiteral("33"));
  w.archive_window.show_button->click();
  ok = w.archive_window.wait_until_idle() && ok;
  w.archive_window.verify_button->click();
  ok = w.archive_window.wait_until_idle() && w.archive_window.verification_window->isVisible() && ok;
  ok = save(*w.archive_window.verification_window, out + QStringLiteral("/verification-window.png")) && ok;
  // The same two windows after "Мова" > "Українська".
  w.main_window.ukrainian_action->trigger();
  QCoreApplication::processEvents();
  ok = save(w.main_window, out + QStringLiteral("/main-window-uk.png")) && ok;
  ok = save(*w.archive_window.verification_window, out + QStringLiteral("/verification-window-uk.png")) && ok;
  w.main_window.russian_action->trigger();
  w.archive_window.verification_window->close();
  w.archive_window.close();

  w.main_window.connect_button->click();
  ok = w.wait_until_idle() && ok;
  return ok ? 0 : 1;
}
