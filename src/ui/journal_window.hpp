// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window: the request fields "по номерам" and "по датам", the list of
// rendered lines, saving, printing and closing. Its logic is the journal window logic of the
// retrieval; this class shows its fields and lists and hands it the clicks. Handlers that
// talk to the register run on the exchange worker: the fields are read into the logic
// before, the logic's fields and lines shown after, and the window's requests are
// disabled in between.
#pragma once

#include <QDialog>
#include <memory>

#include "retrieval/journal_window_logic.hpp"
#include "ui/ui_thread.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace ui {

class LineListModel;
class AttentionDialog;
class ExchangeWorker;

class JournalWindow final : public QDialog, private retrieval::WindowFrame {
  Q_OBJECT

 public:
  // main_window: shown again when this window closes. datecs_selected: the main
  // window's variant choice, read at every request (from the worker).
  JournalWindow(messages::ProgramState& program, messages::Dialogs& dialogs, AttentionDialog& attention, QWidget& main_window,
          std::function<bool()> datecs_selected, device_link::Clock& clock, ExchangeWorker& worker,
          std::string temp_xml_path = "temp.xml");
  ~JournalWindow() override;

  retrieval::JournalWindowLogic& logic() { return logic_; }

  QListView* lines_view;  // ListBox2 on the designed form
  QGroupBox* by_numbers_group;  // GroupBox1 on the designed form
  QLabel* kind_label;  // Label1 on the designed form
  QComboBox* kind_box;  // ComboBox1 on the designed form
  QLabel* password_label;  // Label4 on the designed form
  QLineEdit* password_edit;  // Edit3 on the designed form
  QLabel* first_number_label;  // Label2 on the designed form
  QLineEdit* first_number_edit;  // Edit1 on the designed form
  QLabel* last_number_label;  // Label3 on the designed form
  QLineEdit* last_number_edit;  // Edit2 on the designed form
  QPushButton* fetch_by_numbers_button;  // Button1 on the designed form
  QPushButton* print_button;  // Button6 on the designed form
  QGroupBox* by_dates_group;  // GroupBox2 on the designed form
  QPushButton* fetch_by_dates_button;  // Button4 on the designed form
  QPushButton* numbers_from_dates_button;  // Button5 on the designed form
  QLabel* start_date_label;  // Label5 on the designed form
  QLineEdit* start_date_edit;  // Edit4 on the designed form
  QLabel* end_date_label;  // Label6 on the designed form
  QLineEdit* end_date_edit;  // Edit5 on the designed form
  QLabel* time_label;  // Label7 on the designed form
  QLineEdit* start_time_edit;  // Edit6 on the designed form
  QLineEdit* end_time_edit;  // Edit7 on the designed form
  QPushButton* save_button;  // Button3 on the designed form
  QPushButton* close_button;  // Button2 on the designed form

 protected:
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  // WindowFrame.
  void show_journal_window() override;
  void hide_journal_window() override;
  void close_journal_window() override;
  void show_main_window() override;

  // The fields as typed into the logic, and the logic's fields and lines back.
  void read_fields();
  void show_state();
  // Every caption in the program's language now.
  void retranslate();
  // A handler of the logic between the two, on the UI thread: it does not talk to the register.
  template <class Handler>
  void run_handler(Handler handler);
  // The same on the worker. rewrites_lines: the handler changes the rendered lines, which
  // the list must not read meanwhile.
  void run_exchange(std::function<void()> handler, bool rewrites_lines);
  void set_requests_enabled(bool enabled);
  // Asks a running exchange to stop and waits for it, bounded; false when it still runs.
  bool stop_exchange();

  QWidget& main_window_;
  const messages::ProgramState& program_;
  messages::Dialogs& dialogs_;
  UiThreadDialogs worker_dialogs_;
  ExchangeWorker& worker_;
  retrieval::JournalWindowLogic logic_;
  std::unique_ptr<LineListModel> lines_;
  const render::PackedLines no_lines_;
  std::unique_ptr<LineListModel> empty_list_;  // what the list shows while the lines are rewritten
};

}  // namespace ui
