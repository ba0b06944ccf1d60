// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's windows in a directory of their own, with a scripted user and
// virtual pauses, for the tests on Qt's offscreen platform.
#pragma once

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QThread>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "support/scripted_dialogs.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"
#include "ui/program_windows.hpp"

namespace ui_testing {

using testing_support::ScriptedDialogs;
using testing_support::TempDir;

inline QString q(const char* utf8) { return QString::fromUtf8(utf8); }
inline std::string win(const char* utf8) { return text::from_utf8(utf8); }

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

}  // namespace ui_testing
