// The desktop program's windows on Qt's offscreen platform, with scripted dialogs and
// virtual pauses, against talqen-sim on a real pseudo-terminal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

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

// The program's windows in a directory of their own (the program directory).
class Program : public ::testing::Test {
 protected:
  Program() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    clock.caption = [this] { return windows->form3.windowTitle(); };
    windows = std::make_unique<ui::ProgramWindows>(console, dialogs, clock, dir.file("temp.xml"));
  }
  ~Program() override {
    datecs::close_port();
    quendar::close_port();
    std::filesystem::current_path(previous_);
  }

  // Connects to a simulated register of the variant through the main window.
  void connect_to(const SimProcess& sim, bool datecs) {
    ui::TForm3& w = windows->form3;
    (datecs ? w.RadioButton1 : w.RadioButton2)->setChecked(true);
    w.ComboBox1->setEditText(QString::fromStdString(sim.port()));
    QTest::mouseClick(w.Button3, Qt::LeftButton);
  }

  std::vector<std::string> shown_lines() const {
    std::vector<std::string> lines;
    const QAbstractItemModel& model = *windows->form53.ListBox2->model();
    for (int row = 0; row < model.rowCount(); ++row) lines.push_back(model.index(row, 0).data().toString().toStdString());
    return lines;
  }

  TempDir dir;
  std::filesystem::path previous_;
  messages::ConsoleState console;
  ScriptedDialogs dialogs;
  CaptionClock clock;
  std::unique_ptr<ui::ProgramWindows> windows;
};

TEST_F(Program, EveryControlShowsItsCaptionAndEveryLabelNamesItsField) {
  const ui::TForm3& m = windows->form3;
  const ui::TForm53& j = windows->form53;
  struct Caption {
    QString shown;
    const char* expected;
    const QWidget* named = nullptr;  // the field a label names
    const QLabel* label = nullptr;
  };
  const auto text = [](const auto* w) { return QString(w->text()).remove(QLatin1Char('&')); };
  const Caption captions[] = {
      {m.GroupBox1->title(), "Подключение к последовательному порту"},
      {text(m.Label1), "Последовательный порт:", m.ComboBox1, m.Label1},
      {text(m.Label2), "Скорость порта (бод):", m.ComboBox2, m.Label2},
      {m.RadioButton1->text(), "Datecs"},
      {m.RadioButton2->text(), "Quendar"},
      {m.Button3->text(), "Подключить"},
      {m.Button4->text(), "Найти"},
      {m.Button1->text(), "Закрыть"},
      {m.N2->title(), "КЛЭФ"},
      {m.N45->text(), "Вывод документов в электронном виде"},
      {m.N5->text(), "О программе..."},
      {j.windowTitle(), "Форма запроса и отображения данных"},
      {j.GroupBox1->title(), "по номерам"},
      {text(j.Label1), "Тип документа", j.ComboBox1, j.Label1},
      {text(j.Label4), "Пароль", j.Edit3, j.Label4},
      {text(j.Label2), "Начальный номер", j.Edit1, j.Label2},
      {text(j.Label3), "Конечный номер", j.Edit2, j.Label3},
      {j.Button1->text(), "Получить"},
      {j.Button6->text(), "Печать на РРО"},
      {j.GroupBox2->title(), "по датам"},
      {j.Button4->text(), "Получить"},
      {j.Button5->text(), "Вернуть номера"},
      {text(j.Label5), "Начальная дата", j.Edit4, j.Label5},
      {text(j.Label6), "Конечная дата", j.Edit5, j.Label6},
      {text(j.Label7), "Время", j.Edit6, j.Label7},
      {j.Button3->text(), "Сохранить"},
      {j.Button2->text(), "Закрыть"},
      {windows->form4.CancelButton->text(), "Отмена"},
      {windows->form54.Button1->text(), "Закрыть"},
  };
  for (const Caption& c : captions) {
    EXPECT_EQ(c.shown, q(c.expected));
    if (c.label) {
      EXPECT_EQ(c.label->buddy(), c.named) << c.expected;
    }
  }
  const QStringList kinds = {q("Z-отчет"), q("Чек"), q("Чек+Z-отчет")};
  for (int i = 0; i < kinds.size(); ++i) EXPECT_EQ(j.ComboBox1->itemText(i), kinds[i]);
  EXPECT_EQ(m.ComboBox2->count(), 11);
  EXPECT_FALSE(m.ComboBox2->isEditable());
  EXPECT_TRUE(m.ComboBox1->isEditable());
  EXPECT_EQ(m.ComboBox1->itemText(19), q("COM20"));
  EXPECT_EQ(j.Edit4->toolTip(), q("дд.мм.гг"));
  EXPECT_EQ(j.Edit6->toolTip(), q("чч:мм"));
}

TEST_F(Program, FirstActivationCreatesTheConfigurationOnceAndSelectsItsPort) {
  ui::TForm3& m = windows->form3;
  // The message box gives the activation back to the window while the handler runs.
  dialogs.on_message = [&] { m.FormActivate(); };
  m.FormActivate();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{win("Файл fpinit.ini отсутствует.\n Создание файла!")});
  EXPECT_EQ(clock.pauses, (std::vector<std::string>{"100 Тестирование USB устройств: Шаг 1",
                                                    "1000 Тестирование USB устройств: Шаг 1"}));
  EXPECT_EQ(m.windowTitle(), q("Соединение с РРО"));
  EXPECT_EQ(m.ComboBox1->currentText(), q("COM1"));
  EXPECT_EQ(m.ComboBox2->currentText(), q("9600"));
  EXPECT_TRUE(m.Button1->isEnabled() && m.Button3->isEnabled() && m.N5->isEnabled());
  EXPECT_FALSE(m.N2->menuAction()->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(dir.file("fpinit.ini")));

  write_file(dir.file("fpinit.ini"), "[Communication]\r\nPort=com5\r\nSpeed=19200\r\n");
  m.FormActivate();
  EXPECT_EQ(m.ComboBox1->currentText(), q("COM5"));
  EXPECT_EQ(m.ComboBox2->currentText(), q("19200"));
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
    ui::TForm3& m = windows->form3;
    m.FormActivate();
    connect_to(sim, c.datecs);
    const auto state = [&] {
      return std::vector<bool>{m.Shape1->connected(), m.ComboBox1->isEnabled(), m.ComboBox2->isEnabled(),
                               m.RadioButton1->isEnabled(), m.RadioButton2->isEnabled(),
                               m.N2->menuAction()->isEnabled()};
    };
    EXPECT_EQ(state(), (std::vector<bool>{true, false, false, false, false, true})) << c.status;
    EXPECT_EQ(m.Button3->text(), q("Отключить"));
    EXPECT_EQ(m.StatusBar1->text(), q(c.status));
    EXPECT_NE(read_file(dir.file("fpinit.ini")).find("Port=" + sim.port()), std::string::npos);

    QTest::mouseClick(m.Button3, Qt::LeftButton);
    EXPECT_EQ(state(), (std::vector<bool>{false, true, true, true, true, false})) << c.status;
    EXPECT_EQ(m.Button3->text(), q("Подключить"));
    EXPECT_EQ(m.StatusBar1->text(), QString());
  }
  EXPECT_TRUE(dialogs.messages.size() <= 1u);  // the configuration file's, at most
}

TEST_F(Program, FindSelectsThePortSpeedAndVariantTheRegisterAnswersOn) {
  SimProcess sim({"--protocol", "quendar", "--sample", "--baud", "57600"});
  ASSERT_TRUE(sim.ready());
  ui::TForm3& m = windows->form3;
  m.offer_port_first(QString::fromStdString(sim.port()));
  m.RadioButton1->setChecked(true);
  m.ComboBox2->setCurrentIndex(0);
  QTest::mouseClick(m.Button4, Qt::LeftButton);
  EXPECT_EQ(m.ComboBox1->currentText().toStdString(), sim.port());
  EXPECT_EQ(m.ComboBox2->currentText(), QStringLiteral("57600"));
  EXPECT_TRUE(m.RadioButton2->isChecked());
  EXPECT_TRUE(m.StatusBar1->text().startsWith(q("Найден: "))) << m.StatusBar1->text().toStdString();
  EXPECT_GT(dialogs.pending_processed, 0);  // the window was kept responsive
  // Found, it connects as chosen.
  QTest::mouseClick(m.Button3, Qt::LeftButton);
  EXPECT_TRUE(m.Shape1->connected());
  EXPECT_FALSE(m.Button4->isEnabled());
}

TEST_F(Program, RetrievalShowsWhatTheCommandLineShowsAndSavesIt) {
  SimProcess sim({"--protocol", "quendar", "--sample"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, false);
  ui::TForm3& m = windows->form3;
  ui::TForm53& j = windows->form53;
  m.N45->trigger();
  EXPECT_FALSE(m.isVisible());
  EXPECT_TRUE(j.isVisible());
  j.Edit1->setText(QStringLiteral("9"));
  j.Edit2->setText(QStringLiteral("12"));
  QTest::mouseClick(j.Button1, Qt::LeftButton);
  EXPECT_TRUE(j.isVisible());
  EXPECT_FALSE(windows->form4.isVisible());
  // The port is the register's one line: the command line gets it after a disconnect.
  QTest::mouseClick(j.Button2, Qt::LeftButton);
  QTest::mouseClick(m.Button3, Qt::LeftButton);

  TempDir other;
  const auto cli = testing_support::run_program("cd " + other.path().string() + " && " + TALQEN_CLI + " --port " +
                                                sim.port() + " --protocol quendar fetch 9 12 2>/dev/null");
  ASSERT_EQ(cli.exit_code, 0);
  std::string shown;
  for (const std::string& line : shown_lines()) shown += line + "\n";
  EXPECT_EQ(shown, cli.output);
  EXPECT_EQ(read_file(dir.file("temp.xml")), read_file(other.file("temp.xml")));

  dialogs.save_path = dir.file("saved.txt");
  QTest::mouseClick(j.Button3, Qt::LeftButton);
  testing_support::run_program("cd " + other.path().string() + " && " + TALQEN_CLI + " --port " + sim.port() +
                               " --protocol quendar fetch 9 12 -o saved.txt 2>/dev/null");
  EXPECT_EQ(read_file(dir.file("saved.txt")), read_file(other.file("saved.txt")));
  EXPECT_FALSE(read_file(dir.file("saved.txt")).empty());
}

TEST_F(Program, CloseButtonClearsBusyTheTitleBarDoesNot) {
  ui::TForm3& m = windows->form3;
  ui::TForm53& j = windows->form53;
  for (const bool by_button : {false, true}) {
    m.N45->trigger();
    j.logic().flags.Busy = true;
    if (by_button)
      QTest::mouseClick(j.Button2, Qt::LeftButton);
    else
      j.close();
    EXPECT_FALSE(j.isVisible());
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(j.logic().flags.Busy, !by_button);
  }
}

TEST_F(Program, AFailureAHandlerLetsThroughIsReportedAndTheWindowGoesOn) {
  ui::TForm53& j = windows->form53;
  j.Edit1->setText(QStringLiteral("abc"));
  dialogs.answers = {true};  // yes, print
  QTest::mouseClick(j.Button6, Qt::LeftButton);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("abc"), std::string::npos) << dialogs.messages[0];
  EXPECT_EQ(j.Edit1->text(), QStringLiteral("abc"));
}

TEST_F(Program, CancelStopsTheRetrievalAfterTheCurrentDocument) {
  SimProcess sim({"--protocol", "datecs", "--sample"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true);
  ui::TForm53& j = windows->form53;
  j.Edit1->setText(QStringLiteral("1"));
  j.Edit2->setText(QStringLiteral("10"));
  // The click lands while document 1 is fetched; the window sees it before document 2.
  dialogs.on_pending = [&] {
    if (dialogs.pending_processed == 2) QTest::mouseClick(windows->form4.CancelButton, Qt::LeftButton);
  };
  QTest::mouseClick(j.Button1, Qt::LeftButton);
  const std::vector<std::string>& text = j.logic().ListBox1;
  ASSERT_EQ(text.size(), 4u);  // the declaration, the root, document 1, the root's end
  EXPECT_NE(text[2].find("DI=\"1\""), std::string::npos);
  EXPECT_FALSE(shown_lines().empty());
}

TEST_F(Program, DatesAndTimesAreReadAsTheMasksShowThem) {
  SimProcess sim({"--protocol", "datecs", "--sample"});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, true);
  ui::TForm53& j = windows->form53;
  for (QLineEdit* e : {j.Edit4, j.Edit5, j.Edit6, j.Edit7}) {
    e->clear();
    e->setFocus();
    e->home(false);
  }
  EXPECT_EQ(j.Edit4->displayText(), QStringLiteral("  .  .  "));
  EXPECT_EQ(j.Edit6->displayText(), QStringLiteral("  :  "));
  QTest::keyClicks(j.Edit4, QStringLiteral("14.5.24"));
  QTest::keyClicks(j.Edit5, QStringLiteral("14.05.24"));
  QTest::keyClicks(j.Edit6, QStringLiteral("0:00"));
  QTest::keyClicks(j.Edit7, QStringLiteral("23:59"));
  QTest::mouseClick(j.Button5, Qt::LeftButton);
  EXPECT_EQ(j.logic().Edit4, "14. 5.24");
  EXPECT_EQ(j.Edit1->text() + QStringLiteral(" ") + j.Edit2->text(), QStringLiteral("12 22"));
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
