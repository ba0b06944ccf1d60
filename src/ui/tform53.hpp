// The journal window: the request fields "по номерам" and "по датам", the list of
// rendered lines, saving, printing and closing. Its logic is the request window of the
// retrieval; this class shows its fields and lists and hands it the clicks.
#pragma once

#include <QDialog>
#include <memory>

#include "retrieval/request_window.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace ui {

class LineListModel;
class TForm4;

class TForm53 final : public QDialog, private retrieval::WindowFrame {
  Q_OBJECT

 public:
  // main_window: shown again when this window closes. datecs_selected: the main
  // window's variant choice, read at every request.
  TForm53(messages::ConsoleState& console, messages::Dialogs& dialogs, TForm4& attention, QWidget& main_window,
          std::function<bool()> datecs_selected, device_link::Clock& clock, std::string temp_xml_path = "temp.xml");
  ~TForm53() override;

  retrieval::RequestWindow& logic() { return window_; }

  QListView* ListBox2;
  QGroupBox* GroupBox1;
  QLabel* Label1;
  QComboBox* ComboBox1;
  QLabel* Label4;
  QLineEdit* Edit3;
  QLabel* Label2;
  QLineEdit* Edit1;
  QLabel* Label3;
  QLineEdit* Edit2;
  QPushButton* Button1;
  QPushButton* Button6;
  QGroupBox* GroupBox2;
  QPushButton* Button4;
  QPushButton* Button5;
  QLabel* Label5;
  QLineEdit* Edit4;
  QLabel* Label6;
  QLineEdit* Edit5;
  QLabel* Label7;
  QLineEdit* Edit6;
  QLineEdit* Edit7;
  QPushButton* Button3;
  QPushButton* Button2;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  // WindowFrame.
  void show_request_window() override;
  void hide_request_window() override;
  void close_request_window() override;
  void show_main_window() override;

  // The fields as typed into the logic, and the logic's fields and lines back.
  void pull();
  void push();
  // A handler of the logic between the two.
  template <class Handler>
  void run(Handler handler);

  QWidget& main_window_;
  messages::Dialogs& dialogs_;
  retrieval::RequestWindow window_;
  std::unique_ptr<LineListModel> lines_;
};

}  // namespace ui
