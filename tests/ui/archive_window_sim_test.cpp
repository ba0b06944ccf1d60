// SPDX-License-Identifier: GPL-3.0-or-later
// The archive in the desktop program against talqen-sim: "Пополнить архив" filled, stopped
// in the middle and filled again; an archive opened without a register; what the archive
// window shows, finds and exports, each against what talqen-cli makes of the same archive.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "sim_fixture.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "ui/verification_table_model.hpp"
#include "ui/verification_window.hpp"

namespace {

using e2e::SimProcess;
using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;
using ui_testing::q;
using ui_testing::win;

// The lines of a text, each ended by the separator: CR LF in a file as "Сохранить" writes
// it, "\n" in what a program printed.
std::vector<std::string> split_lines(const std::string& text, const std::string& separator) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find(separator, at);
    lines.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + separator.size();
  }
  return lines;
}

std::vector<std::string> lines_of(const std::string& bytes) { return split_lines(bytes, "\r\n"); }

// A workbook's parts one after the other, but the moment it was made (docProps/core.xml).
std::string workbook_parts(const std::string& path) {
  return run_program("python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                     "[sys.stdout.buffer.write(n.encode() + b'\\n' + z.read(n)) for n in sorted(z.namelist()) "
                     "if n != 'docProps/core.xml']\" " +
                     path)
      .output;
}

// The visible file dialog among the window's children.
QFileDialog* file_dialog_of(QWidget& window) {
  for (QFileDialog* d : window.findChildren<QFileDialog*>())
    if (d->isVisible()) return d;
  return nullptr;
}

class ArchiveInTheProgram : public ui_testing::ProgramAgainstSim {
 protected:
  ArchiveInTheProgram() { qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.file("data"))); }
  ~ArchiveInTheProgram() override { qunsetenv("XDG_DATA_HOME"); }

  ui::ArchiveWindow& archive_window() { return windows->archive_window; }
  void settle_archive() { ASSERT_TRUE(archive_window().wait_until_idle()); }

  // talqen-cli in a directory of its own; its stdout.
  testing_support::ProgramRun cli(const std::string& arguments) {
    return run_program("cd " + cli_dir.path().string() + " && " + TALQEN_CLI + " " + arguments + " 2>" +
                       cli_dir.file("err.txt"));
  }

  // The sample tape archived by talqen-cli.
  std::string archive_by_cli() {
    SimProcess sim({"--protocol", "quendar", "--sample"});
    EXPECT_TRUE(sim.ready());
    const std::string path = cli_dir.file("4000000001.talqen.db");
    EXPECT_EQ(cli("--port " + sim.port() + " --protocol quendar archive --db " + path).exit_code, 0);
    return path;
  }

  // "Открыть архив…" and the file chosen in its dialog.
  void open_through_dialog(const std::string& path) {
    windows->main_window.open_archive_action->trigger();
    QFileDialog* d = file_dialog_of(windows->main_window);
    ASSERT_NE(d, nullptr);
    d->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(d)->accept();  // as its "Open" or "Save" button does
    settle_archive();
  }

  // Both kinds, numbers 1 to 33 (the sample tape), shown.
  void show_whole_tape(ui::ArchiveWindow& w) {
    w.kind_box->setCurrentIndex(2);
    w.by_numbers_button->setChecked(true);
    w.first_number_edit->setText(QStringLiteral("1"));
    w.last_number_edit->setText(QStringLiteral("33"));
    QTest::mouseClick(w.show_button, Qt::LeftButton);
    settle_archive();
  }

  std::vector<std::string> shown() const {
    const render::PackedLines& lines = windows->archive_window.shown_lines();
    return std::vector<std::string>(lines.begin(), lines.end());
  }

  TempDir cli_dir;
};

TEST_F(ArchiveInTheProgram, FillStoppedInTheMiddleGoesOnWhereItStoppedAskingNothingTwice) {
  const std::string log = dir.file("sim.log");
  // Slow replies, so that "Отмена" lands in the middle of the tape.
  SimProcess sim({"--protocol", "quendar", "--sample", "--latency", "15", "--log", log});
  ASSERT_TRUE(sim.ready());
  ui::MainWindow& m = windows->main_window;
  EXPECT_FALSE(m.fill_archive_action->isEnabled());  // no register yet
  connect_to(sim, false);
  ASSERT_TRUE(m.fill_archive_action->isEnabled());

  ui::AttentionDialog& a = windows->attention;
  m.fill_archive_action->trigger();
  EXPECT_FALSE(m.fill_archive_action->isEnabled());  // while it runs
  ASSERT_TRUE(QTest::qWaitFor([&] { return a.isVisible() && a.activity_label->text().startsWith(q("Запрошено 5 из 33")); },
                              30000))
      << a.activity_label->text().toStdString();
  QTest::mouseClick(a.cancel_button, Qt::LeftButton);
  settle();
  settle_archive();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  std::smatch figures;
  const std::string first_summary = text::to_utf8(dialogs.messages[0]);
  ASSERT_TRUE(std::regex_match(first_summary, figures,
                               std::regex("Получено документов: (\\d+); не запрошены: (\\d+)\\.")))
      << first_summary;
  const int fetched = std::stoi(figures[1]);
  EXPECT_EQ(fetched + std::stoi(figures[2]), 33);
  EXPECT_LE(fetched, 8);  // stopped after the current document, not at the end
  // The archive window opened on the archive in the program's folder.
  EXPECT_TRUE(archive_window().isVisible());
  EXPECT_EQ(archive_window().logic().path(), dir.file("data") + "/talqen/4000000001.talqen.db");
  EXPECT_EQ(archive_window().logic().summary().documents, fetched);

  m.fill_archive_action->trigger();
  settle();
  settle_archive();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(text::to_utf8(dialogs.messages[1]), "Получено документов: " + std::to_string(33 - fetched) +
                                                    "; в архиве уже были: " + std::to_string(fetched) + ".");
  EXPECT_EQ(archive_window().logic().summary().documents, 33);
  EXPECT_TRUE(archive_window().summary_label->text().startsWith(q("Документов: 33; номера 1–33; пополнен ")))
      << archive_window().summary_label->text().toStdString();

  // Each document's first fragment was asked once over both runs.
  std::map<int, int> asked;
  const std::string sent = read_file(log);
  const std::regex first_fragment("CMD A7 DATA \\[[^\\]]*\\] \"271828;1;(\\d+);0;\"");
  for (auto it = std::sregex_iterator(sent.begin(), sent.end(), first_fragment); it != std::sregex_iterator(); ++it)
    ++asked[std::stoi((*it)[1])];
  ASSERT_EQ(asked.size(), 33u) << sent.substr(0, 2000);
  for (const auto& [number, times] : asked) EXPECT_EQ(times, 1) << "document " << number;
}

TEST_F(ArchiveInTheProgram, FillAsksTheTapeFromWhereItBeginsAndTheDateSearchAgainAfterADamagedReply) {
  // Quendar's own repeat of a malformed reply is off: the second date search is the fill's.
  testing_support::write_file(dir.file("fpinit.ini"), "[Fiscal Printer]\r\nReply=0\r\n");
  const std::string log = dir.file("sim.log");
  SimProcess sim({"--protocol", "quendar", "--sample", "--first-number", "4188", "--fault", "2:bad-checksum", "--log", log});
  ASSERT_TRUE(sim.ready());
  connect_to(sim, false);
  windows->main_window.fill_archive_action->trigger();
  settle();
  settle_archive();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{win("Получено документов: 33.")});
  EXPECT_EQ(archive_window().logic().summary().documents, 33);
  sim.stop();
  const std::string sent = read_file(log);
  std::vector<std::string> searches, documents;
  const std::regex request("CMD (EE|A7) DATA \\[[^\\]]*\\] \"271828;([^;]*);([^;]*);");
  for (auto it = std::sregex_iterator(sent.begin(), sent.end(), request); it != std::sregex_iterator(); ++it)
    ((*it)[1] == "EE" ? searches : documents).push_back((*it)[3]);
  EXPECT_EQ(searches, (std::vector<std::string>{"0000", "0000"}));  // the widest span, twice
  ASSERT_FALSE(documents.empty());
  EXPECT_EQ(documents.front(), "4188");
}

TEST_F(ArchiveInTheProgram, AnArchiveOpenedWithoutARegisterShowsWhatTheExportShows) {
  const std::string path = archive_by_cli();
  ui::MainWindow& m = windows->main_window;
  EXPECT_TRUE(m.open_archive_action->isEnabled());
  open_through_dialog(path);
  ui::ArchiveWindow& w = archive_window();
  ASSERT_TRUE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), q("Архив РРО  ЗН 4000000001  ФН 3000000001"));
  EXPECT_TRUE(w.summary_label->text().startsWith(q("Документов: 33; номера 1–33; пополнен ")));

  struct Case {
    int kind;  // the item of the kind box
    bool by_dates;
    const char* first;
    const char* last;
    const char* export_selection;
  };
  const Case cases[] = {
      {2, false, "9", "12", "9 12"},
      {0, false, "41", "42", "--kind z 41 42"},
      {1, false, "1", "33", "--kind receipt 1 33"},
      {2, true, "13.05.24", "14.05.24", "--from 13.05.24 --to 14.05.24"},
      {0, true, "14.05.24", "14.05.24", "--kind z --from 14.05.24 --to 14.05.24"},
  };
  for (const Case& c : cases) {
    w.kind_box->setCurrentIndex(c.kind);
    (c.by_dates ? w.by_dates_button : w.by_numbers_button)->setChecked(true);
    if (c.by_dates) {
      w.start_date_edit->setText(QString::fromLatin1(c.first));
      w.end_date_edit->setText(QString::fromLatin1(c.last));
      w.start_time_edit->setText(QStringLiteral("00:00"));
      w.end_time_edit->setText(QStringLiteral("23:59"));
    } else {
      w.first_number_edit->setText(QString::fromLatin1(c.first));
      w.last_number_edit->setText(QString::fromLatin1(c.last));
    }
    QTest::mouseClick(w.show_button, Qt::LeftButton);
    settle_archive();
    ASSERT_EQ(cli("export --db " + path + " " + c.export_selection + " --format text -o out.txt").exit_code, 0)
        << c.export_selection;
    const std::vector<std::string> expected = lines_of(read_file(cli_dir.file("out.txt")));
    EXPECT_GT(expected.size(), 10u) << c.export_selection;
    EXPECT_EQ(shown(), expected) << c.export_selection;
  }
  // A span of times within a day shows the documents of those minutes only.
  w.kind_box->setCurrentIndex(2);
  w.by_dates_button->setChecked(true);
  w.start_date_edit->setText(QStringLiteral("14.05.24"));
  w.end_date_edit->setText(QStringLiteral("14.05.24"));
  w.start_time_edit->setText(QStringLiteral("00:00"));
  w.end_time_edit->setText(QStringLiteral("00:01"));
  QTest::mouseClick(w.show_button, Qt::LeftButton);
  settle_archive();
  EXPECT_EQ(shown(), std::vector<std::string>{});
  EXPECT_EQ(w.status_message(), q("В архиве нет документов этой выборки"));
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{});
}

TEST_F(ArchiveInTheProgram, AFileThatIsNoArchiveIsRefusedWithTheExportsWords) {
  const std::string path = dir.file("notes.talqen.db");
  testing_support::write_file(path, "these are no documents\n");
  open_through_dialog(path);
  EXPECT_FALSE(archive_window().isVisible());
  ASSERT_EQ(cli("export --db " + path + " --format text").exit_code, 2);
  const std::string said = read_file(cli_dir.file("err.txt"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ("talqen-cli export: " + text::to_utf8(dialogs.messages[0]) + "\n", said);
}

TEST_F(ArchiveInTheProgram, FindGoesForwardsAndBackwardsRoundTheEndsByKeys) {
  open_through_dialog(archive_by_cli());
  ui::ArchiveWindow& w = archive_window();
  show_whole_tape(w);
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

  // The rows holding the text, as Qt's own case folding finds them.
  const auto rows_holding = [&](const QString& wanted) {
    std::vector<int> rows;
    const QAbstractItemModel& model = *w.lines_view->model();
    for (int row = 0; row < model.rowCount(); ++row)
      if (model.index(row, 0).data().toString().contains(wanted, Qt::CaseInsensitive)) rows.push_back(row);
    return rows;
  };
  QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(QApplication::focusWidget(), w.find_edit);
  for (const QString& wanted : {q("готівка"), q("obrim"), q("Z-ЗВІТ")}) {
    const std::vector<int> expected = rows_holding(wanted);
    ASSERT_GE(expected.size(), 2u) << wanted.toStdString();
    w.find_edit->setText(wanted);
    w.lines_view->setCurrentIndex({});
    std::vector<int> forwards, backwards;
    for (std::size_t i = 0; i <= expected.size(); ++i) {
      QTest::keyClick(&w, Qt::Key_F3);
      forwards.push_back(w.lines_view->currentIndex().row());
    }
    for (std::size_t i = 0; i <= expected.size(); ++i) {
      QTest::keyClick(&w, Qt::Key_F3, Qt::ShiftModifier);
      backwards.push_back(w.lines_view->currentIndex().row());
    }
    std::vector<int> round = expected;
    round.push_back(expected.front());  // past the last, the first again
    EXPECT_EQ(forwards, round) << wanted.toStdString();
    // Back from the first: the last, and so on down to the first, then the last again.
    std::vector<int> back_round(expected.rbegin(), expected.rend());
    back_round.push_back(expected.back());
    EXPECT_EQ(backwards, back_round) << wanted.toStdString();
  }
  // Enter in the field finds the next one too.
  w.find_edit->setText(q("готівка"));
  w.lines_view->setCurrentIndex({});
  w.find_edit->setFocus();
  QTest::keyClick(w.find_edit, Qt::Key_Return);
  EXPECT_EQ(w.lines_view->currentIndex().row(), rows_holding(q("готівка")).front());
  const int before = w.lines_view->currentIndex().row();
  w.find_edit->setText(q("кефір"));
  QTest::keyClick(&w, Qt::Key_F3);
  EXPECT_EQ(w.status_message(), q("Не найдено"));
  EXPECT_EQ(w.lines_view->currentIndex().row(), before);
}

TEST_F(ArchiveInTheProgram, EachExportFormIsWhatTheCommandLineWrites) {
  const std::string path = archive_by_cli();
  open_through_dialog(path);
  ui::ArchiveWindow& w = archive_window();
  show_whole_tape(w);
  w.first_number_edit->setText(QStringLiteral("5"));  // edited, not shown: the export is of what is shown
  struct Case {
    const char* filter;
    const char* file;
    const char* format;
  };
  const Case cases[] = {
      {"Excel (*.xlsx)", "tape", "xlsx"},  // the suffix comes from the type chosen
      {"CSV (*.csv)", "tape.csv", "csv"},
      {"JSON (*.json)", "tape.json", "json"},
      {"Текст (*.txt)", "tape.txt", "text"},
      {"Текст журнала (*.xml)", "tape.xml", "xml"},
  };
  for (const Case& c : cases) {
    QTest::mouseClick(w.export_button, Qt::LeftButton);
    QFileDialog* d = file_dialog_of(w);
    ASSERT_NE(d, nullptr);
    d->selectNameFilter(QString::fromUtf8(c.filter));
    d->selectFile(QString::fromStdString(dir.file(c.file)));
    static_cast<QDialog*>(d)->accept();  // as its "Open" or "Save" button does
    settle_archive();
    const std::string written = dir.file(c.file) + (std::string(c.file).find('.') == std::string::npos ? ".xlsx" : "");
    ASSERT_EQ(cli("export --db " + path + " 1 33 --format " + c.format + " -o expected").exit_code, 0);
    const bool workbook = std::string(c.format) == "xlsx";
    const std::string expected = workbook ? workbook_parts(cli_dir.file("expected")) : read_file(cli_dir.file("expected"));
    EXPECT_GT(expected.size(), 1000u) << c.format;
    EXPECT_EQ(workbook ? workbook_parts(written) : read_file(written), expected) << c.format;
  }
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{});
}

TEST_F(ArchiveInTheProgram, TheKeyboardAloneGoesRoundTheWindowWhoseControlsAreNamedByTheirCaptions) {
  open_through_dialog(archive_by_cli());
  ui::ArchiveWindow& w = archive_window();
  w.by_numbers_button->setChecked(true);
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  const std::vector<std::pair<QWidget*, const char*>> named = {
      {w.kind_box, "Тип документа"},          {w.by_numbers_button, "по номерам"},
      {w.first_number_edit, "Начальный номер"}, {w.last_number_edit, "Конечный номер"},
      {w.by_dates_button, "по датам"},         {w.start_date_edit, "Начальная дата"},
      {w.start_time_edit, "Начальное время"},  {w.end_date_edit, "Конечная дата"},
      {w.end_time_edit, "Конечное время"},     {w.show_button, "Показать"},
      {w.find_edit, "Найти"},                  {w.find_previous_button, "Назад"},
      {w.find_next_button, "Далее"},           {w.export_button, "Экспорт…"},
      {w.verify_button, "Проверить"},
      {w.close_button, "Закрыть"},
  };
  for (const auto& [widget, name] : named) {
    // On Linux a combo box is named to the accessibility bus by its label, its Name being its text.
    const QString said = widget == w.kind_box ? widget->accessibleName()
                                              : QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    EXPECT_EQ(said, q(name)) << name;
  }

  // Tab from the kind box round to it again, past the fields of dates while numbers are chosen.
  w.kind_box->setFocus();
  std::vector<QWidget*> visited;
  for (int i = 0; i < 13 && (visited.empty() || QApplication::focusWidget() != w.kind_box); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(visited, (std::vector<QWidget*>{w.by_numbers_button, w.first_number_edit, w.last_number_edit,
                                            w.show_button, w.find_edit, w.find_previous_button, w.find_next_button,
                                            w.lines_view, w.verify_button, w.export_button, w.close_button,
                                            w.kind_box}));
  // Enter in a number field shows the selection; Escape closes the window.
  w.first_number_edit->setText(QStringLiteral("41"));
  w.last_number_edit->setText(QStringLiteral("41"));
  w.kind_box->setCurrentIndex(0);
  QTest::keyClick(w.last_number_edit, Qt::Key_Return);
  settle_archive();
  EXPECT_EQ(w.status_message(), q("Показано документов: 1"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
}

std::vector<std::string> printed_lines(const std::string& out) { return split_lines(out, "\n"); }

TEST_F(ArchiveInTheProgram, VerifyingFindsNothingOnTheSampleTapeAndAHoleLeadsToItsPlace) {
  SimProcess sim({"--protocol", "quendar", "--sample"});
  ASSERT_TRUE(sim.ready());
  const std::string whole = cli_dir.file("whole.talqen.db");
  const std::string holed = cli_dir.file("holed.talqen.db");
  const std::string connection = "--port " + sim.port() + " --protocol quendar archive --db ";
  ASSERT_EQ(cli(connection + whole).exit_code, 0);
  ASSERT_EQ(cli(connection + holed + " 1 10").exit_code, 0);
  ASSERT_EQ(cli(connection + holed + " 15 end").exit_code, 0);

  struct Case {
    const std::string& path;
    bool whole;
  };
  for (const Case& c : {Case{whole, true}, Case{holed, false}}) {
    open_through_dialog(c.path);
    ui::ArchiveWindow& w = archive_window();
    show_whole_tape(w);
    QTest::mouseClick(w.verify_button, Qt::LeftButton);
    settle_archive();
    ui::VerificationWindow& v = *w.verification_window;
    ASSERT_TRUE(v.isVisible());
    const auto run = cli("--encoding cp1251 verify --db " + c.path + " 1 33");
    std::vector<std::string> expected = printed_lines(run.output);
    if (!expected.empty() && expected.back().empty()) expected.pop_back();
    EXPECT_EQ(v.report().text_lines(), expected) << c.path;
    ASSERT_FALSE(expected.empty());
    // The summary in words above the table, a row for each line of the command's but the summary.
    if (c.whole) {
      EXPECT_EQ(v.summary_label->text(), q("Документов 33, Z-отчетов 3, проверено 2, расхождений нет"));
    }
    EXPECT_EQ(v.summary_label->text(), QString::fromStdString(text::to_utf8(app::summary_sentence(v.report().summary))));
    EXPECT_EQ(v.findings_view->model()->rowCount(), static_cast<int>(expected.size()) - 1);

    // "Сохранить" writes what the command line printed.
    QTest::mouseClick(v.save_button, Qt::LeftButton);
    QFileDialog* d = file_dialog_of(v);
    ASSERT_NE(d, nullptr);
    const std::string saved = dir.file(c.whole ? "whole.txt" : "holed.txt");
    d->selectFile(QString::fromStdString(saved));
    static_cast<QDialog*>(d)->accept();
    EXPECT_EQ(lines_of(read_file(saved)), expected);
    if (c.whole) {
      EXPECT_EQ(expected.back().substr(expected.back().rfind('\t')), "\tfindings 0");
      v.close();
      continue;
    }
    // The hole: its line, Enter, and the archive window shows the documents around it.
    int hole = -1;
    const std::vector<app::VerificationTable::Row>& rows = v.model().table().rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].first_document == 11 && rows[i].last_document == 14) hole = static_cast<int>(i);
    ASSERT_GE(hole, 0);
    EXPECT_EQ(v.findings_view->model()->index(hole, app::VerificationTable::What).data().toString(),
              q("Этих документов нет в архиве: их получит «Пополнить архив»"));
    v.findings_view->setFocus();
    v.findings_view->setCurrentIndex(v.findings_view->model()->index(hole, 0));
    QTest::keyClick(v.findings_view, Qt::Key_Return);
    settle_archive();
    ASSERT_EQ(cli("export --db " + c.path + " 10 15 --format text -o around.txt").exit_code, 0);
    EXPECT_EQ(shown(), lines_of(read_file(cli_dir.file("around.txt"))));
    EXPECT_EQ(w.first_number_edit->text() + QStringLiteral(" ") + w.last_number_edit->text(), QStringLiteral("10 15"));
    EXPECT_EQ(w.lines_view->currentIndex().row(), 0);
  }
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{});
}

}  // namespace
