// The journal window: the request fields "по номерам" and "по датам", the list of
// rendered lines, saving, printing and closing. Its logic is the journal window logic of the
// retrieval; this class shows its fields and lists and hands it the clicks.
#pragma once

#include <QDialog>
#include <memory>

#include "retrieval/journal_window_logic.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace ui {

class LineListModel;
class AttentionDialog;

class JournalWindow final : public QDialog, private retrieval::WindowFrame {
  Q_OBJECT

 public:
  // main_window: shown again when this window closes. datecs_selected: the main
  // window's variant choice, read at every request.
  JournalWindow(messages::ProgramState& program, messages::Dialogs& dialogs, AttentionDialog& attention, QWidget& main_window,
          std::function<bool()> datecs_selected, device_link::Clock& clock, std::string temp_xml_path = "temp.xml");
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
  void closeEvent(QCloseEvent* e) override;

 private:
  // WindowFrame.
  void show_journal_window() override;
  void hide_journal_window() override;
  void close_journal_window() override;
  void show_main_window() override;

  // The fields as typed into the logic, and the logic's fields and lines back.
  void read_fields();
  void show_state();
  // A handler of the logic between the two.
  template <class Handler>
  void run_handler(Handler handler);

  QWidget& main_window_;
  messages::Dialogs& dialogs_;
  retrieval::JournalWindowLogic logic_;
  std::unique_ptr<LineListModel> lines_;
};

}  // namespace ui
