// SPDX-License-Identifier: GPL-3.0-or-later
// The archive window: a tape archive browsed without the register. The selection (kind,
// numbers or dates and times) and "Показать" show what `talqen-cli export --format text`
// shows for it, in the journal window's list; "Найти" with "Далее" and "Назад" (F3,
// Shift+F3) finds a line; "Экспорт…" writes the selection shown to a file and "Проверить"
// verifies it ("Проверка архива"). Its logic is the archive window logic of the program; everything that reads the archive runs on a
// reader thread of its own, and the window's requests are disabled meanwhile.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/archive_window_logic.hpp"
#include "app/line_search.hpp"
#include "messages/dialogs.hpp"
#include "messages/status_reporter.hpp"
#include "render/packed_lines.hpp"
#include "ui/exchange_worker.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace ui {

class AttentionDialog;
class LineListModel;
class VerificationWindow;

class ArchiveWindow final : public QDialog {
  Q_OBJECT

 public:
  ArchiveWindow(const messages::ProgramState& program, messages::Dialogs& dialogs, AttentionDialog& attention,
                QWidget* parent = nullptr);
  ~ArchiveWindow() override;

  // Opens the archive at path on the reader thread, then shows the window on it; a file
  // that is refused is told in a box, and a window already open stays as it was. done,
  // when given, learns whether it opened.
  void open_archive(const std::string& path, std::function<void(bool opened)> done = {});
  // "Показать", "Далее", "Назад", "Экспорт…".
  void show_selection();
  void find(app::SearchDirection direction);
  void ask_export();
  // Writes the selection shown (not the fields as edited since) in the form to path, on the reader thread.
  void export_selection(const std::string& path, archive::ExportFormat format);
  // "Проверить": the selection verified on the reader thread, its findings shown in the
  // window "Проверка архива".
  void verify_selection();
  // The documents first..last shown and their first line selected (a finding chosen);
  // where the archive holds none of them, the documents on either side too.
  void show_documents(std::int32_t first, std::int32_t last, bool widen_when_none = true);

  // Until nothing reads the archive, at most bound_ms; true when nothing does.
  bool wait_until_idle(int bound_ms = 60000);
  const app::ArchiveWindowLogic& logic() const { return logic_; }
  const render::PackedLines& shown_lines() const { return shown_; }
  QString status_message() const;

  QListView* lines_view;
  QComboBox* kind_box;
  QRadioButton* by_numbers_button;
  QLineEdit* first_number_edit;
  QLineEdit* last_number_edit;
  QRadioButton* by_dates_button;
  QLineEdit* start_date_edit;
  QLineEdit* end_date_edit;
  QLineEdit* start_time_edit;
  QLineEdit* end_time_edit;
  QPushButton* show_button;
  QLineEdit* find_edit;
  QPushButton* find_next_button;
  QPushButton* find_previous_button;
  QPushButton* export_button;
  QPushButton* verify_button;
  VerificationWindow* verification_window;
  QPushButton* close_button;
  QStatusBar* status_bar;
  QLabel* summary_label;

 protected:
  void changeEvent(QEvent* e) override;
  void reject() override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Every caption in the program's language now.
  void retranslate();
  // The fields into the logic's terms, and back.
  app::ArchiveFields read_fields() const;
  void show_fields(const app::ArchiveFields& fields);
  // The view of the fields, or nothing after telling what is wrong with them.
  std::optional<app::ArchiveView> checked_view();
  // Reads the view into the lines on the reader thread; then they are shown.
  void show_view(const app::ArchiveView& view, std::function<void()> then = {});
  void show_archive_state();
  void set_requests_enabled(bool enabled);
  // Runs work on the reader thread and then done here, the requests disabled between.
  // A reading that takes long shows the attention window, captioned so (Windows-1251).
  void read(std::function<void()> work, std::function<void()> done, std::string caption);
  // The attention window lent for a long reading; its "Отмена" stops this window's reading.
  void show_attention(const std::string& caption);
  void hide_attention();
  bool stop_reading();

  const messages::ProgramState& program_;
  messages::Dialogs& dialogs_;
  AttentionDialog& attention_;
  ExchangeWorker reader_;  // the archive's reads: never the thread that talks to the register
  app::ArchiveWindowLogic logic_;
  render::PackedLines shown_;    // what the list shows; the UI thread's own
  render::PackedLines pending_;  // what the reader fills; swapped in when it is done
  std::optional<app::ArchiveView> shown_view_;  // the selection the lines show
  std::unique_ptr<LineListModel> lines_;
  std::function<void()> previous_cancel_;
  std::atomic<bool> stop_{false};
  int readings_ = 0;               // readings started, so that a late timer knows its own
  bool attention_shown_ = false;
  QLabel* kind_caption_;
  QLabel* first_number_caption_;
  QLabel* last_number_caption_;
  QLabel* from_caption_;
  QLabel* to_caption_;
  QLabel* find_caption_;
  QGroupBox* selection_group_;
  QGroupBox* search_group_;
};

}  // namespace ui
