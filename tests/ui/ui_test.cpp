// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's windows on Qt's offscreen platform, with a scripted user and
// virtual pauses: what needs no register, on Linux and under Wine alike.
#include <gtest/gtest.h>

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
#include <libxml/xmlversion.h>
#include <atomic>
#include <filesystem>
#include <thread>

#include "link/serial_port.hpp"
#include "program_fixture.hpp"
#include "support/temp_dir.hpp"
#include "ui/masked_field.hpp"

namespace {

using testing_support::read_file;
using testing_support::write_file;
using ui_testing::Program;
using ui_testing::q;
using ui_testing::win;

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

// The version libxml2's own header gives, against the one the box reads off the library.
TEST_F(Program, TheAboutBoxNamesTheLicenseAndEveryLibraryWithItsVersion) {
  const ui::AboutBox& about = windows->about_box;
  EXPECT_TRUE(about.license_label->text().contains(QStringLiteral("GPL-3.0-or-later")));
  const QString libraries = about.libraries_label->text();
  for (const QString& named : {QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
                               QStringLiteral("libxml2 " LIBXML_DOTTED_VERSION), QStringLiteral("SQLite "),
                               QStringLiteral("libxlsxwriter "), QStringLiteral("zlib ")})
    EXPECT_TRUE(libraries.contains(named)) << named.toStdString() << " in " << libraries.toStdString();
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

TEST_F(Program, ThePortBoxListsEachPortOnceAndEveryPortOfThisComputer) {
  const QComboBox& box = *windows->main_window.port_box;
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  EXPECT_EQ(items.removeDuplicates(), 0) << items.join(QLatin1Char(' ')).toStdString();
  for (const std::string& port : device_link::list_serial_ports())
    EXPECT_TRUE(items.contains(QString::fromStdString(port))) << port;
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

TEST(MaskedField, DigitsStandToTheRightOfTheirSection) {
  const std::pair<std::string, std::string> dates[] = {
      {"  .  .  ", "  .  .  "}, {"1 .5 .24", " 1. 5.24"}, {"14.05.24", "14.05.24"}, {"1 .  .  ", " 1.  .  "}};
  for (const auto& [shown, text] : dates) EXPECT_EQ(ui::MaskedFieldText(shown, '.'), text) << shown;
  EXPECT_EQ(ui::MaskedFieldText("9 :05", ':'), " 9:05");
  EXPECT_EQ(ui::MaskedFieldText("  :  ", ':'), "  :  ");
}

}  // namespace
