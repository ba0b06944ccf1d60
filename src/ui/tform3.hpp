// The main window: port, speed and protocol variant, connecting, the journal menu and
// the About box. Each time it becomes active it prepares itself again (FormActivate).
#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/connection_procedure.hpp"
#include "link/clock.hpp"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ui {

class TForm53;
class TForm54;

// Shape1: the connection indicator, a filled rounded square.
class ConnectionIndicator final : public QWidget {
  Q_OBJECT

 public:
  explicit ConnectionIndicator(QWidget* parent) : QWidget(parent) {}
  void set_connected(bool connected);
  bool connected() const { return connected_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  bool connected_ = false;
};

class TForm3 final : public QMainWindow {
  Q_OBJECT

 public:
  // clock: the pauses of FormActivate.
  TForm3(messages::ConsoleState& console, messages::Dialogs& dialogs, device_link::Clock& clock);
  ~TForm3() override;

  // The windows it opens, created after it, and the flags of the journal window that
  // the connection check reads.
  void attach(TForm54& about, TForm53& journal, messages::RetrievalFlags& journal_flags);
  // A port put first in the port box, so that it is the one chosen when fpinit.ini
  // names none of the box's ports (the simulated register).
  void offer_port_first(const QString& port);

  bool datecs_selected() const;

  // The handlers.
  void FormActivate();
  void Button3Click();
  void N45Click();
  void N5Click();
  // "Найти": the register searched for over the port box's ports.
  void Button4Click();

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QComboBox* ComboBox1;
  QLabel* Label2;
  QComboBox* ComboBox2;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  ConnectionIndicator* Shape1;
  QPushButton* Button3;
  QPushButton* Button4;  // "Найти"
  QPushButton* Button1;
  QLabel* StatusBar1;  // the status bar's one text panel
  QMenu* N2;
  QAction* N45;
  QAction* N5;

 protected:
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  class WidgetView;
  // The items of the port box, in their order.
  std::vector<std::string> port_box_items() const;

  messages::ConsoleState& console_;
  messages::Dialogs& dialogs_;
  device_link::Clock& clock_;
  TForm54* about_ = nullptr;
  TForm53* journal_ = nullptr;
  std::unique_ptr<WidgetView> view_;
  std::optional<app::ConnectionProcedure> connection_;
  bool activating_ = false;  // FormActivate is running: activations meanwhile are its own
  bool closing_ = false;     // the main window was closed: the program ends
};

}  // namespace ui
