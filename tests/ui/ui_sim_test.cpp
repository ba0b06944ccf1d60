// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's windows on Qt's offscreen platform against talqen-sim on a real
// pseudo-terminal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <thread>

#include "program_fixture.hpp"
#include "sim_fixture.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"

namespace {

using e2e::SimProcess;
using testing_support::read_file;
using testing_support::TempDir;
using ui_testing::q;
using ui_testing::win;

using ui_testing::ProgramAgainstSim;

TEST_F(ProgramAgainstSim, ConnectingAndDisconnectingSwitchEveryControl) {
  struct Case {
    bool datecs;
    const char* status;
  };
  for (const Case& c : {Case{true, "SIM-DT    4000000001"}, Case{false, "   Модель:SIM-QN,    Версия:1.00,     4000000001."}}) {
    SimProcess sim({"--protocol", c.datecs ? "datecs" : "quendar", "--sample"});
    ASSERT_TRUE(sim.ready());
    ui::MainWindow& m = windows->main_window;
    m.prepare_on_activation();
    connect_to(sim, c.datecs);
    const auto state = [&] {
      return std::vector<bool>{m.indicator->connected(), m.port_box->isEnabled(), m.speed_box->isEnabled(),
                               m.datecs_button->isEnabled(), m.quendar_button->isEnabled(),
                               m.journal_menu->menuAction()->isEnabled()};
    };
    EXPECT_EQ(state(), (std::vector<bool>{true, false, false, false, false, true})) << c.status;
    EXPECT_EQ(m.connect_button->text(), q("Отключить"));
    EXPECT_EQ(m.status_text->text(), q(c.status));
    EXPECT_NE(read_file(dir.file("fpinit.ini")).find("Port=" + sim.port()), std::string::npos);

    QTest::mouseClick(m.connect_button, Qt::LeftButton);
    settle();
    EXPECT_EQ(state(), (std::vector<bool>{false, true, true, true, true, false})) << c.status;
    EXPECT_EQ(m.connect_button->text(), q("Подключить"));
    EXPECT_EQ(m.status_text->text(), QString());
  }
  EXPECT_TRUE(dialogs.messages.size() <= 1u);  // the configuration file's, at most
}

// What the core composes for a person (the connection's identity line and caption, the
// status word's question) comes in the language chosen; the register's own figures stay.
TEST_F(ProgramAgainstSim, InUkrainianWhatTheCoreComposesSpeaksUkrainian) {
  windows->main_window.ukrainian_action->trigger();
  QCoreApplication::processEvents();
  ui::MainWindow& m = windows->main_window;
  m.prepare_on_activation();
  {
    SimProcess sim({"--protocol", "quendar", "--sample"});
    ASSERT_TRUE(sim.ready());
    connect_to(sim, false);
    EXPECT_EQ(m.status_text->text(), q("   Модель:SIM-QN,    Версія:1.00,     4000000001."));
    EXPECT_EQ(m.connect_button->text(), q("Відключити"));
    QTest::mouseClick(m.connect_button, Qt::LeftButton);
    settle();
    EXPECT_EQ(m.connect_button->text(), q("Підключити"));
  }
  SimProcess sim({"--protocol", "datecs", "--sample", "--fault", "4:silence"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true);
  dialogs.answers = {false};
  start_retrieval(1, 5);
  settle();
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{win("Тайм-аут|Щоб продовжити, натисніть ")});
}

TEST_F(ProgramAgainstSim, FindSelectsThePortSpeedAndVariantTheRegisterAnswersOn) {
  SimProcess sim({"--protocol", "quendar", "--sample", "--baud", "57600"});
  ASSERT_TRUE(sim.ready());
  ui::MainWindow& m = windows->main_window;
  m.offer_port_first(QString::fromStdString(sim.port()));
  m.datecs_button->setChecked(true);
  m.speed_box->setCurrentIndex(0);
  QTest::mouseClick(m.find_button, Qt::LeftButton);
  EXPECT_FALSE(m.connect_button->isEnabled());  // no connection while the port is searched
  settle();
  EXPECT_EQ(m.port_box->currentText().toStdString(), sim.port());
  EXPECT_EQ(m.speed_box->currentText(), QStringLiteral("57600"));
  EXPECT_TRUE(m.quendar_button->isChecked());
  EXPECT_TRUE(m.status_text->text().startsWith(q("Найден: "))) << m.status_text->text().toStdString();
  // Found, it connects as chosen.
  QTest::mouseClick(m.connect_button, Qt::LeftButton);
  settle();
  EXPECT_TRUE(m.indicator->connected());
  EXPECT_FALSE(m.find_button->isEnabled());
}

TEST_F(ProgramAgainstSim, RetrievalShowsWhatTheCommandLineShowsAndSavesIt) {
  SimProcess sim({"--protocol", "quendar", "--sample"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, false);
  ui::MainWindow& m = windows->main_window;
  ui::JournalWindow& j = windows->journal_window;
  m.open_journal_action->trigger();
  EXPECT_FALSE(m.isVisible());
  EXPECT_TRUE(j.isVisible());
  j.first_number_edit->setText(QStringLiteral("9"));
  j.last_number_edit->setText(QStringLiteral("12"));
  QTest::mouseClick(j.fetch_by_numbers_button, Qt::LeftButton);
  settle();
  EXPECT_TRUE(j.isVisible());
  EXPECT_FALSE(windows->attention.isVisible());
  // The port is the register's one line: the command line gets it after a disconnect.
  QTest::mouseClick(j.close_button, Qt::LeftButton);
  QTest::mouseClick(m.connect_button, Qt::LeftButton);
  settle();

  TempDir other;
  const auto cli = testing_support::run_program("cd " + other.path().string() + " && " + TALQEN_CLI + " --port " +
                                                sim.port() + " --protocol quendar fetch 9 12 2>/dev/null");
  ASSERT_EQ(cli.exit_code, 0);
  std::string shown;
  for (const std::string& line : shown_lines()) shown += line + "\n";
  EXPECT_EQ(shown, cli.output);
  EXPECT_EQ(read_file(dir.file("temp.xml")), read_file(other.file("temp.xml")));

  dialogs.save_path = dir.file("saved.txt");
  QTest::mouseClick(j.save_button, Qt::LeftButton);
  testing_support::run_program("cd " + other.path().string() + " && " + TALQEN_CLI + " --port " + sim.port() +
                               " --protocol quendar fetch 9 12 -o saved.txt 2>/dev/null");
  EXPECT_EQ(read_file(dir.file("saved.txt")), read_file(other.file("saved.txt")));
  EXPECT_FALSE(read_file(dir.file("saved.txt")).empty());
}

TEST_F(ProgramAgainstSim, CancelInAnyWayStopsTheRetrievalAfterTheCurrentDocument) {
  SimProcess sim({"--protocol", "datecs", "--sample", "--baud", "19200"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true, "19200");
  ui::AttentionDialog& a = windows->attention;
  const auto press = [](QWidget* button) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  };
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"mouse", [&] { QTest::mouseClick(a.cancel_button, Qt::LeftButton); }},
      {"space", [&] { QTest::keyClick(a.cancel_button, Qt::Key_Space); }},
      {"enter", [&] { QTest::keyClick(a.cancel_button, Qt::Key_Return); }},
      {"escape", [&] { QTest::keyClick(&a, Qt::Key_Escape); }},
      {"accessibility", [&] { press(a.cancel_button); }},
      {"close", [&] { a.close(); }},
  };
  constexpr int kLast = 30;
  for (const auto& [way, cancel] : ways) {
    start_retrieval(1, kLast);
    // Cancelled while a document past the first is on the line.
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.isVisible() && !a.progress_label->text().isEmpty(); }, 20000)) << way;
    const std::size_t seen = static_cast<std::size_t>(a.progress_label->text().section(QLatin1Char(' '), -1).toInt());
    cancel();
    settle();
    EXPECT_GE(fetched_documents(), seen) << way;
    EXPECT_LE(fetched_documents(), seen + 2) << way;  // the press itself may take a document's time
    EXPECT_FALSE(a.isVisible()) << way;
    QTest::mouseClick(windows->journal_window.close_button, Qt::LeftButton);
  }
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{});  // no document came in part
}

TEST_F(ProgramAgainstSim, TheWindowsAnswerThroughoutAPacedRetrievalAndShowOneFigure) {
  SimProcess sim({"--protocol", "datecs", "--sample", "--baud", "2400"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true, "2400");
  ui::AttentionDialog& a = windows->attention;

  QElapsedTimer elapsed;
  elapsed.start();
  qint64 last_tick = 0;
  qint64 worst_gap = 0;
  // At every moment the bar shows the progress text's figure: (bar, text) where not.
  std::vector<std::pair<int, double>> two_figures;
  int progress_shown = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    worst_gap = std::max(worst_gap, elapsed.elapsed() - last_tick);
    last_tick = elapsed.elapsed();
    const QString text = a.progress_label->text().trimmed();
    if (text.isEmpty()) return;
    ++progress_shown;
    const double figure = text.section(QLatin1Char('%'), 0, 0).toDouble();
    if (a.progress_bar->value() != static_cast<int>(figure)) two_figures.emplace_back(a.progress_bar->value(), figure);
  });
  tick.start(10);
  // A screen reader's query: answered by the UI thread's event loop.
  std::atomic<bool> done{false};
  std::atomic<bool> reader_ended{false};
  std::atomic<qint64> worst_answer{0};
  std::thread reader([&] {
    while (!done) {
      QElapsedTimer asked;
      asked.start();
      ui::on_ui_thread([&] { (void)QAccessible::queryAccessibleInterface(a.progress_label)->text(QAccessible::Name); });
      worst_answer = std::max(worst_answer.load(), asked.elapsed());
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    reader_ended = true;
  });

  last_tick = elapsed.elapsed();
  start_retrieval(9, 11);
  settle();
  done = true;
  // The reader's last query is answered by a loop still running.
  EXPECT_TRUE(QTest::qWaitFor([&] { return reader_ended.load(); }, 5000));
  reader.join();
  std::printf("worst event-loop gap %lld ms, worst accessibility answer %lld ms over %lld ms\n",
              static_cast<long long>(worst_gap), static_cast<long long>(worst_answer.load()),
              static_cast<long long>(elapsed.elapsed()));
  EXPECT_EQ(fetched_documents(), 3u);
  EXPECT_LE(worst_gap, 100);
  EXPECT_LE(worst_answer.load(), 500);
  EXPECT_GT(progress_shown, 0);
  EXPECT_EQ(two_figures, (std::vector<std::pair<int, double>>{}));
}

TEST_F(ProgramAgainstSim, TheTimeOutQuestionIsAskedOnTheUiThreadAndItsCancelStops) {
  // The register falls silent on the fourth request: document 2's first fragment.
  SimProcess sim({"--protocol", "datecs", "--sample", "--fault", "4:silence"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true);
  dialogs.answers = {false};  // Cancel
  start_retrieval(1, 5);
  settle();
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{win("Таймаут|Для продолжения нажмите ")});
  EXPECT_LT(fetched_documents(), 5u);
  // The fixture checks that the question reached the user on the UI thread.
}

TEST_F(ProgramAgainstSim, DatesAndTimesAreReadAsTheMasksShowThem) {
  SimProcess sim({"--protocol", "datecs", "--sample"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true);
  ui::JournalWindow& j = windows->journal_window;
  for (QLineEdit* e : {j.start_date_edit, j.end_date_edit, j.start_time_edit, j.end_time_edit}) {
    e->clear();
    e->setFocus();
    e->home(false);
  }
  EXPECT_EQ(j.start_date_edit->displayText(), QStringLiteral("  .  .  "));
  EXPECT_EQ(j.start_time_edit->displayText(), QStringLiteral("  :  "));
  QTest::keyClicks(j.start_date_edit, QStringLiteral("14.5.24"));
  QTest::keyClicks(j.end_date_edit, QStringLiteral("14.05.24"));
  QTest::keyClicks(j.start_time_edit, QStringLiteral("0:00"));
  QTest::keyClicks(j.end_time_edit, QStringLiteral("23:59"));
  QTest::mouseClick(j.numbers_from_dates_button, Qt::LeftButton);
  settle();
  EXPECT_EQ(j.logic().fields.start_date, "14. 5.24");
  EXPECT_EQ(j.first_number_edit->text() + QStringLiteral(" ") + j.last_number_edit->text(), QStringLiteral("12 22"));
}

}  // namespace
