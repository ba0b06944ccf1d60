// The desktop program's windows on Qt's offscreen platform, with scripted dialogs and
// virtual pauses, against talqen-sim on a real pseudo-terminal.
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

#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "sim_process.hpp"
#include "support/run_program.hpp"
#include "support/scripted_dialogs.hpp"
#include "support/temp_dir.hpp"
#include "support/virtual_clock.hpp"
#include "text/cp1251.hpp"
#include "ui/masked_field.hpp"
#include "ui/program_windows.hpp"
#include "ui/qt_text.hpp"

namespace {

using e2e::SimProcess;
using testing_support::read_file;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::write_file;

QString q(const char* utf8) { return QString::fromUtf8(utf8); }
std::string win(const char* utf8) { return text::from_utf8(utf8); }

// A clock whose pauses take no time and note the main window's caption.
class CaptionClock final : public device_link::Clock {
 public:
  std::int64_t now_ms() override { return 0; }
  void sleep_ms(int ms) override { pauses.push_back(std::to_string(ms) + " " + caption().toStdString()); }
  device_link::LocalTime local_time() override { return {14, 5, 2024, 9, 5, 0}; }
  std::function<QString()> caption = [] { return QString(); };
  std::vector<std::string> pauses;
};

// The scripted user, who notes every box and question that reaches them off the UI thread.
class UiThreadUser final : public messages::Dialogs {
 public:
  explicit UiThreadUser(ScriptedDialogs& script) : script_(script) {}
  void show_message(std::string_view text) override {
    note_thread();
    script_.show_message(text);
  }
  void show_captioned_message(std::string_view caption, std::string_view text) override {
    note_thread();
    script_.show_captioned_message(caption, text);
  }
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override {
    note_thread();
    return script_.ask_retry_cancel(caption, text);
  }
  bool ask_yes_no(std::string_view caption, std::string_view text) override {
    note_thread();
    return script_.ask_yes_no(caption, text);
  }
  std::optional<std::string> ask_save_path(std::string_view filter, std::string_view proposed,
                                           std::string_view extension) override {
    note_thread();
    return script_.ask_save_path(filter, proposed, extension);
  }
  void process_pending_messages() override {
    note_thread();
    script_.process_pending_messages();
  }
  std::atomic<int> off_ui_thread{0};

 private:
  void note_thread() {
    if (QThread::currentThread() != qApp->thread()) ++off_ui_thread;
  }
  ScriptedDialogs& script_;
};

// The program's windows in a directory of their own (the program directory).
class Program : public ::testing::Test {
 protected:
  Program() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    clock.caption = [this] { return windows->main_window.windowTitle(); };
    windows = std::make_unique<ui::ProgramWindows>(program, user, clock, dir.file("temp.xml"));
  }
  ~Program() override {
    windows.reset();
    EXPECT_EQ(user.off_ui_thread, 0);  // every box and question was shown by the UI thread
    datecs::close_port();
    quendar::close_port();
    std::filesystem::current_path(previous_);
  }

  // Waits until the exchange a click started has ended and its results are shown.
  void settle() { ASSERT_TRUE(windows->wait_until_idle()); }

  // Connects to a simulated register of the variant through the main window.
  void connect_to(const SimProcess& sim, bool datecs, const char* speed = nullptr) {
    ui::MainWindow& w = windows->main_window;
    (datecs ? w.datecs_button : w.quendar_button)->setChecked(true);
    w.port_box->setEditText(QString::fromStdString(sim.port()));
    if (speed) w.speed_box->setCurrentText(QString::fromLatin1(speed));
    QTest::mouseClick(w.connect_button, Qt::LeftButton);
    settle();
  }

  // Starts "Получить" by numbers from the journal window, opened from the main window.
  void start_retrieval(int first, int last) {
    windows->main_window.open_journal_action->trigger();
    ui::JournalWindow& j = windows->journal_window;
    j.first_number_edit->setText(QString::number(first));
    j.last_number_edit->setText(QString::number(last));
    QTest::mouseClick(j.fetch_by_numbers_button, Qt::LeftButton);
  }

  // The documents of the journal text (without the declaration and the root's two lines).
  std::size_t fetched_documents() const { return windows->journal_window.logic().journal_lines.size() - 3; }

  std::vector<std::string> shown_lines() const {
    std::vector<std::string> lines;
    const QAbstractItemModel& model = *windows->journal_window.lines_view->model();
    for (int row = 0; row < model.rowCount(); ++row) lines.push_back(model.index(row, 0).data().toString().toStdString());
    return lines;
  }

  TempDir dir;
  std::filesystem::path previous_;
  messages::ProgramState program;
  ScriptedDialogs dialogs;
  UiThreadUser user{dialogs};
  CaptionClock clock;
  std::unique_ptr<ui::ProgramWindows> windows;
};

TEST_F(Program, EveryControlShowsItsCaptionAndEveryLabelNamesItsField) {
  const ui::MainWindow& m = windows->main_window;
  const ui::JournalWindow& j = windows->journal_window;
  struct Caption {
    QString shown;
    const char* expected;
    const QWidget* named = nullptr;  // the field a label names
    const QLabel* label = nullptr;
  };
  const auto text = [](const auto* w) { return QString(w->text()).remove(QLatin1Char('&')); };
  const Caption captions[] = {
      {m.connection_group->title(), "Подключение к последовательному порту"},
      {text(m.port_label), "Последовательный порт:", m.port_box, m.port_label},
      {text(m.speed_label), "Скорость порта (бод):", m.speed_box, m.speed_label},
      {m.datecs_button->text(), "Datecs"},
      {m.quendar_button->text(), "Quendar"},
      {m.connect_button->text(), "Подключить"},
      {m.find_button->text(), "Найти"},
      {m.close_button->text(), "Закрыть"},
      {m.journal_menu->title(), "КЛЭФ"},
      {m.open_journal_action->text(), "Вывод документов в электронном виде"},
      {m.about_action->text(), "О программе..."},
      {j.windowTitle(), "Форма запроса и отображения данных"},
      {j.by_numbers_group->title(), "по номерам"},
      {text(j.kind_label), "Тип документа", j.kind_box, j.kind_label},
      {text(j.password_label), "Пароль", j.password_edit, j.password_label},
      {text(j.first_number_label), "Начальный номер", j.first_number_edit, j.first_number_label},
      {text(j.last_number_label), "Конечный номер", j.last_number_edit, j.last_number_label},
      {j.fetch_by_numbers_button->text(), "Получить"},
      {j.print_button->text(), "Печать на РРО"},
      {j.by_dates_group->title(), "по датам"},
      {j.fetch_by_dates_button->text(), "Получить"},
      {j.numbers_from_dates_button->text(), "Вернуть номера"},
      {text(j.start_date_label), "Начальная дата", j.start_date_edit, j.start_date_label},
      {text(j.end_date_label), "Конечная дата", j.end_date_edit, j.end_date_label},
      {text(j.time_label), "Время", j.start_time_edit, j.time_label},
      {j.save_button->text(), "Сохранить"},
      {j.close_button->text(), "Закрыть"},
      {windows->attention.cancel_button->text(), "Отмена"},
      {windows->about_box.close_button->text(), "Закрыть"},
  };
  for (const Caption& c : captions) {
    EXPECT_EQ(c.shown, q(c.expected));
    if (c.label) {
      EXPECT_EQ(c.label->buddy(), c.named) << c.expected;
    }
  }
  const QStringList kinds = {q("Z-отчет"), q("Чек"), q("Чек+Z-отчет")};
  for (int i = 0; i < kinds.size(); ++i) EXPECT_EQ(j.kind_box->itemText(i), kinds[i]);
  EXPECT_EQ(m.speed_box->count(), 11);
  EXPECT_FALSE(m.speed_box->isEditable());
  EXPECT_TRUE(m.port_box->isEditable());
  EXPECT_EQ(m.port_box->itemText(19), q("COM20"));
  EXPECT_EQ(j.start_date_edit->toolTip(), q("дд.мм.гг"));
  EXPECT_EQ(j.start_time_edit->toolTip(), q("чч:мм"));
}

TEST_F(Program, FirstActivationCreatesTheConfigurationOnceAndSelectsItsPort) {
  ui::MainWindow& m = windows->main_window;
  // The message box gives the activation back to the window while the handler runs.
  dialogs.on_message = [&] { m.prepare_on_activation(); };
  m.prepare_on_activation();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{win("Файл fpinit.ini отсутствует.\n Создание файла!")});
  EXPECT_EQ(clock.pauses, (std::vector<std::string>{"100 Тестирование USB устройств: Шаг 1",
                                                    "1000 Тестирование USB устройств: Шаг 1"}));
  EXPECT_EQ(m.windowTitle(), q("Соединение с РРО"));
  EXPECT_EQ(m.port_box->currentText(), q("COM1"));
  EXPECT_EQ(m.speed_box->currentText(), q("9600"));
  EXPECT_TRUE(m.close_button->isEnabled() && m.connect_button->isEnabled() && m.about_action->isEnabled());
  EXPECT_FALSE(m.journal_menu->menuAction()->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(dir.file("fpinit.ini")));

  EXPECT_TRUE(m.datecs_button->isChecked());
  write_file(dir.file("fpinit.ini"), "[Communication]\r\nPort=com5\r\nSpeed=19200\r\n[Fiscal Printer]\r\nProtocol=Quendar\r\n");
  m.prepare_on_activation();
  EXPECT_EQ(m.port_box->currentText(), q("COM5"));
  EXPECT_EQ(m.speed_box->currentText(), q("19200"));
  EXPECT_TRUE(m.quendar_button->isChecked());
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(Program, ConnectingAndDisconnectingSwitchEveryControl) {
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

TEST_F(Program, FindSelectsThePortSpeedAndVariantTheRegisterAnswersOn) {
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

TEST_F(Program, RetrievalShowsWhatTheCommandLineShowsAndSavesIt) {
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

TEST_F(Program, CloseButtonClearsBusyTheTitleBarDoesNot) {
  ui::MainWindow& m = windows->main_window;
  ui::JournalWindow& j = windows->journal_window;
  enum class Way { TitleBar, Escape, Button };
  for (const Way way : {Way::TitleBar, Way::Escape, Way::Button}) {
    m.open_journal_action->trigger();
    j.logic().flags.retrieval_open = true;
    if (way == Way::Button)
      QTest::mouseClick(j.close_button, Qt::LeftButton);
    else if (way == Way::Escape)
      QTest::keyClick(&j, Qt::Key_Escape);
    else
      j.close();
    EXPECT_FALSE(j.isVisible());
    EXPECT_TRUE(m.isVisible());  // never no window at all
    EXPECT_EQ(j.logic().flags.retrieval_open, way != Way::Button);
  }
}

TEST_F(Program, AFailureAHandlerLetsThroughIsReportedAndTheWindowGoesOn) {
  ui::JournalWindow& j = windows->journal_window;
  j.first_number_edit->setText(QStringLiteral("abc"));
  dialogs.answers = {true};  // yes, print
  QTest::mouseClick(j.print_button, Qt::LeftButton);
  settle();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("abc"), std::string::npos) << dialogs.messages[0];
  EXPECT_EQ(j.first_number_edit->text(), QStringLiteral("abc"));
}

TEST_F(Program, CancelInAnyWayStopsTheRetrievalAfterTheCurrentDocument) {
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

TEST_F(Program, TheWindowsAnswerThroughoutAPacedRetrievalAndShowOneFigure) {
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

TEST_F(Program, TheTimeOutQuestionIsAskedOnTheUiThreadAndItsCancelStops) {
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

TEST_F(Program, FirstShowingPreparesTheWindowWithoutAnActivation) {
  write_file(dir.file("fpinit.ini"), "[Communication]\r\nPort=com5\r\nSpeed=19200\r\n");
  ui::MainWindow& m = windows->main_window;
  // As under an X server without a window manager: no activation ever reaches the window.
  struct NoActivation final : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      return e->type() == QEvent::ActivationChange || e->type() == QEvent::WindowActivate;
    }
  } no_activation;
  m.installEventFilter(&no_activation);
  m.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return m.windowTitle() == q("Соединение с РРО"); }, 2000));
  EXPECT_EQ(m.port_box->currentText(), q("COM5"));
  EXPECT_EQ(m.speed_box->currentText(), q("19200"));
  EXPECT_TRUE(m.connect_button->isEnabled());
  m.removeEventFilter(&no_activation);
}

TEST_F(Program, DatesAndTimesAreReadAsTheMasksShowThem) {
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

TEST(MaskedField, DigitsStandToTheRightOfTheirSection) {
  const std::pair<std::string, std::string> dates[] = {
      {"  .  .  ", "  .  .  "}, {"1 .5 .24", " 1. 5.24"}, {"14.05.24", "14.05.24"}, {"1 .  .  ", " 1.  .  "}};
  for (const auto& [shown, text] : dates) EXPECT_EQ(ui::MaskedFieldText(shown, '.'), text) << shown;
  EXPECT_EQ(ui::MaskedFieldText("9 :05", ':'), " 9:05");
  EXPECT_EQ(ui::MaskedFieldText("  :  ", ':'), "  :  ");
}

}  // namespace

int main(int argc, char** argv) {
  // Tests need no display; the program must work with accessibility switched on.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
