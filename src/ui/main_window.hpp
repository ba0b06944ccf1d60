// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: port, speed and protocol variant, connecting, the journal menu and
// the About box. It prepares itself when first shown and again each time it becomes
// active (prepare_on_activation). The connection check and "Найти" run on the exchange
// worker; meanwhile the connection controls and the menu are disabled.
#pragma once

#include <QMainWindow>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/connection_procedure.hpp"
#include "app/language.hpp"
#include "archive/tape_archive.hpp"
#include "link/clock.hpp"
#include "retrieval/attention_window.hpp"
#include "ui/ui_thread.hpp"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ui {

class JournalWindow;
class ArchiveWindow;
class AboutBox;
class ExchangeWorker;
class Translation;

// indicator: the connection indicator, a filled rounded square.
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

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // clock: the pauses of prepare_on_activation.
  MainWindow(messages::ProgramState& program, messages::Dialogs& dialogs, device_link::Clock& clock,
             ExchangeWorker& worker);
  ~MainWindow() override;

  // The windows it opens, created after it, and the flags of the journal window that
  // the connection check reads.
  void attach(AboutBox& about, JournalWindow& journal, messages::RetrievalFlags& journal_flags);
  // The archive window, and the attention window that "Пополнить архив" shows.
  void attach_archive(ArchiveWindow& archive, retrieval::AttentionWindow& attention) {
    archive_ = &archive;
    attention_ = &attention;
  }
  // A port put first in the port box, so that it is the one chosen when fpinit.ini
  // names none of the box's ports (the simulated register).
  void offer_port_first(const QString& port);

  // From any thread.
  bool datecs_selected() const;

  // The handlers.
  void prepare_on_activation();
  void toggle_connection();
  void open_journal_window();
  // "Открыть архив…": a file dialog for an archive, then the archive window on it.
  void ask_archive_to_open();
  // "Пополнить архив": the connected register's archive filled up to its last document on
  // the exchange worker, then a box with the run's summary and the archive window on it.
  void fill_archive();
  // Where "Пополнить архив" keeps the archives: the program's folder of the user's data.
  static QString archive_folder();
  void show_about_box();
  // The language the program speaks, chosen in the menu "Язык" (the Translation of the
  // program, which main gave the language of fpinit.ini or the system's).
  void attach_translation(Translation& translation);
  void choose_language(app::Language language);
  // "Найти": the register searched for over the port box's ports.
  void find_register();

  QGroupBox* connection_group;  // GroupBox1 on the designed form
  QLabel* port_label;  // Label1 on the designed form
  QComboBox* port_box;  // ComboBox1 on the designed form
  QLabel* speed_label;  // Label2 on the designed form
  QComboBox* speed_box;  // ComboBox2 on the designed form
  QRadioButton* datecs_button;  // RadioButton1 on the designed form
  QRadioButton* quendar_button;  // RadioButton2 on the designed form
  ConnectionIndicator* indicator;  // Shape1 on the designed form
  QPushButton* connect_button;  // Button3 on the designed form
  QPushButton* find_button;  // "Найти"
  QPushButton* close_button;  // Button1 on the designed form
  QLabel* status_text;  // StatusBar1 on the designed form (its one text panel)
  QMenu* journal_menu;  // N2 on the designed form
  QAction* open_journal_action;  // N45 on the designed form
  QAction* about_action;  // N5 on the designed form
  QMenu* archive_menu;
  QAction* fill_archive_action;
  QAction* open_archive_action;
  QMenu* language_menu;
  QAction* russian_action;
  QAction* ukrainian_action;

 protected:
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  class WidgetView;
  // Every caption in the program's language now.
  void retranslate();
  // The items of the port box, in their order.
  std::vector<std::string> port_box_items() const;
  // work on the worker, then done on the UI thread; the controls that start an exchange or
  // change the connection are disabled in between.
  void run_exchange(std::function<void()> work, std::function<void()> done = {});
  void set_exchange_controls_enabled(bool enabled);
  // "Пополнить архив" while connected and no exchange runs.
  void update_fill_archive_action();

  messages::ProgramState& program_;
  messages::Dialogs& dialogs_;
  UiThreadDialogs worker_dialogs_;
  device_link::Clock& clock_;
  ExchangeWorker& worker_;
  AboutBox* about_ = nullptr;
  Translation* translation_ = nullptr;
  JournalWindow* journal_ = nullptr;
  ArchiveWindow* archive_ = nullptr;
  retrieval::AttentionWindow* attention_ = nullptr;
  // The register's answer to the connection check while connected: written by the connecting
  // exchange, read between exchanges.
  std::optional<archive::ConnectionAnswer> connection_answer_;
  std::unique_ptr<WidgetView> view_;
  std::optional<app::ConnectionProcedure> connection_;
  bool activating_ = false;  // prepare_on_activation is running: activations meanwhile are its own
  bool prepared_ = false;    // prepare_on_activation has run at least once
  // An activation came while an exchange ran (which reads the program's settings): it
  // prepares the window when the exchange is done.
  bool activated_during_exchange_ = false;
  std::atomic<bool> closing_{false};  // the main window was closed: the program ends
};

}  // namespace ui
