// Takes the README's pictures of the desktop program: its windows against the simulated
// register, on whatever display Qt is given (Xvfb in scripts/screenshots).
// Usage: screenshot_tour DIRECTORY
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QPushButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "support/scripted_dialogs.hpp"
#include "ui/program_windows.hpp"
#include "ui/simulator_process.hpp"
#include "ui/ui_clock.hpp"

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

  ui::SimulatorProcess simulator;
  QString error;
  if (!simulator.start(QStringLiteral("datecs"), error, QStringLiteral(TALQEN_SIM))) {
    std::fprintf(stderr, "screenshot_tour: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  // No boxes to click away; the attention window is pictured while documents arrive.
  testing_support::ScriptedDialogs dialogs;
  ui::UiClock clock;
  messages::ConsoleState console;
  ui::ProgramWindows w(console, dialogs, clock, QDir(work.path()).filePath(QStringLiteral("temp.xml")).toStdString());
  w.form3.offer_port_first(simulator.port());
  w.form3.show();
  w.form3.FormActivate();
  w.form3.Button3->click();
  bool ok = save(w.form3, out + QStringLiteral("/main-window.png"));

  w.form3.N45Click();
  w.form53.Edit1->setText(QStringLiteral("1"));
  w.form53.Edit2->setText(QStringLiteral("11"));
  dialogs.on_pending = [&] {
    QCoreApplication::processEvents();
    if (dialogs.pending_processed == 6) ok = save(w.form4, out + QStringLiteral("/attention-window.png")) && ok;
  };
  w.form53.Button1->click();
  // The last receipt of the day and the day's Z-report.
  const QAbstractItemModel& lines = *w.form53.ListBox2->model();
  for (int row = lines.rowCount() - 1; row >= 0; --row)
    if (lines.index(row, 0).data().toString().contains(QStringLiteral("Z-звіт"))) {
      w.form53.ListBox2->scrollTo(lines.index(std::max(0, row - 16), 0), QAbstractItemView::PositionAtTop);
      break;
    }
  ok = save(w.form53, out + QStringLiteral("/journal-window.png")) && ok;
  w.form53.Button2->click();
  w.form3.Button3->click();
  return ok ? 0 : 1;
}
