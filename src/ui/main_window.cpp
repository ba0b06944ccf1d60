// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.hpp"

#include <filesystem>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include "app/config_file.hpp"
#include "app/connection_answer.hpp"
#include "app/fill_report.hpp"
#include "archive/archive_filling.hpp"
#include "app/register_probe.hpp"
#include "link/serial_port.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"
#include "ui/qt_text.hpp"
#include "ui/journal_window.hpp"
#include "ui/archive_window.hpp"
#include "ui/about_box.hpp"
#include "ui/exchange_worker.hpp"
#include "ui/qt_dialogs.hpp"
#include "ui/translation.hpp"

#include "ui/designed_font.hpp"

using namespace text::literals;

namespace ui {

namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 280;
constexpr int kComboHeight = 21;
// How long closing waits for the connection check or the search to end.
constexpr int kStopWaitMs = 30000;

// "COM3, 57600 бод, Quendar": a line of the port, speed and variant for the status bar.
QString line_settings(const std::string& port, int speed, bool datecs) {
  return MainWindow::tr("%1, %2 бод, %3")
      .arg(QString::fromStdString(port), QString::number(speed),
           datecs ? QStringLiteral("Datecs") : QStringLiteral("Quendar"));
}

}  // namespace

void ConnectionIndicator::set_connected(bool connected) {
  connected_ = connected;
  update();
}

void ConnectionIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(connected_ ? QColor(0, 255, 0) : QColor(255, 0, 0));  // lime, red
  p.setPen(Qt::black);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

// The main window as the connection procedure sees it, from the worker: each call is
// done on the UI thread.
class MainWindow::WidgetView final : public app::MainWindowView {
 public:
  explicit WidgetView(MainWindow& w) : w_(w) {}
  std::string port_text() const override {
    return on_ui_thread([this] { return from_qstring(w_.port_box->currentText()); });
  }
  std::string speed_text() const override {
    return on_ui_thread([this] { return from_qstring(w_.speed_box->currentText()); });
  }
  bool datecs_selected() const override { return w_.datecs_selected(); }
  void set_indicator_connected(bool connected) override {
    on_ui_thread([&] { w_.indicator->set_connected(connected); });
  }
  void set_connect_caption(std::string_view caption) override {
    on_ui_thread([&] { w_.connect_button->setText(to_qstring(caption)); });
  }
  void set_port_boxes_enabled(bool enabled) override {
    on_ui_thread([&] {
      w_.port_box->setEnabled(enabled);
      w_.speed_box->setEnabled(enabled);
      w_.find_button->setEnabled(enabled);  // the port is in use while connected
    });
  }
  void set_variant_buttons_enabled(bool enabled) override {
    on_ui_thread([&] {
      w_.datecs_button->setEnabled(enabled);
      w_.quendar_button->setEnabled(enabled);
    });
  }
  void set_journal_menu_enabled(bool enabled) override {
    on_ui_thread([&] {
      w_.journal_menu->menuAction()->setEnabled(enabled);
      w_.update_fill_archive_action();
    });
  }
  void set_status_text(std::string_view text) override {
    on_ui_thread([&] { w_.status_text->setText(to_qstring(text)); });
  }

 private:
  MainWindow& w_;
};

MainWindow::MainWindow(messages::ProgramState& program, messages::Dialogs& dialogs, device_link::Clock& clock,
                       ExchangeWorker& worker)
    : program_(program),
      dialogs_(dialogs),
      worker_dialogs_(dialogs),
      clock_(clock),
      worker_(worker),
      view_(std::make_unique<WidgetView>(*this)) {
  setFont(designed_font());
  setWindowTitle(kApplicationTitle);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMinimizeButtonHint);

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight - 20);
  setCentralWidget(client);

  connection_group = new QGroupBox(client);
  connection_group->setGeometry(16, 4, 513, 156);
  port_label = new QLabel(connection_group);
  port_label->move(92, 25);
  port_box = new QComboBox(connection_group);
  port_box->setEditable(true);
  port_box->setGeometry(320, 18, 98, kComboHeight);
  for (const std::string& port : app::port_items()) port_box->addItem(QString::fromStdString(port));
  // After COM1-COM20, the serial devices of this computer that are not among them
  // (Windows names its ports COMn, Linux by their device paths).
  for (const std::string& device : device_link::list_serial_ports()) {
    const QString name = QString::fromStdString(device);
    if (port_box->findText(name) < 0) port_box->addItem(name);
  }
  port_label->setBuddy(port_box);
  speed_label = new QLabel(connection_group);
  speed_label->move(92, 56);
  speed_box = new QComboBox(connection_group);
  speed_box->setGeometry(320, 49, 98, kComboHeight);
  for (const std::string& speed : app::speed_items()) speed_box->addItem(QString::fromStdString(speed));
  speed_label->setBuddy(speed_box);
  datecs_button = new QRadioButton(QStringLiteral("Datecs"), connection_group);
  datecs_button->setGeometry(48, 104, 113, 17);
  datecs_button->setChecked(true);
  quendar_button = new QRadioButton(QStringLiteral("Quendar"), connection_group);
  quendar_button->setGeometry(48, 128, 113, 17);
  indicator = new ConnectionIndicator(connection_group);
  indicator->setGeometry(324, 116, 65, 20);
  connect_button = new QPushButton(connection_group);
  connect_button->setGeometry(403, 116, 87, 20);
  find_button = new QPushButton(connection_group);
  find_button->setGeometry(403, 90, 87, 20);
  close_button = new QPushButton(client);
  close_button->setGeometry(463, 232, 60, 20);

  status_text = new QLabel(this);
  statusBar()->addWidget(status_text, 1);
  statusBar()->setSizeGripEnabled(false);

  journal_menu = menuBar()->addMenu(QString());
  open_journal_action = journal_menu->addAction(QString());
  journal_menu->menuAction()->setEnabled(false);
  archive_menu = menuBar()->addMenu(QString());
  fill_archive_action = archive_menu->addAction(QString());
  fill_archive_action->setEnabled(false);
  open_archive_action = archive_menu->addAction(QString());
  language_menu = menuBar()->addMenu(QString());
  // Each language named in itself, so that it is found whatever the window speaks.
  russian_action = language_menu->addAction(QStringLiteral("Русский"));
  ukrainian_action = language_menu->addAction(QStringLiteral("Українська"));
  auto* languages = new QActionGroup(this);
  for (QAction* a : {russian_action, ukrainian_action}) {
    a->setCheckable(true);
    languages->addAction(a);
  }
  russian_action->setChecked(true);
  about_action = menuBar()->addAction(QString());
  retranslate();

  connect(connect_button, &QPushButton::clicked, this, &MainWindow::toggle_connection);
  connect(find_button, &QPushButton::clicked, this, &MainWindow::find_register);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  connect(open_journal_action, &QAction::triggered, this, &MainWindow::open_journal_window);
  connect(about_action, &QAction::triggered, this, &MainWindow::show_about_box);
  connect(open_archive_action, &QAction::triggered, this, &MainWindow::ask_archive_to_open);
  connect(fill_archive_action, &QAction::triggered, this, &MainWindow::fill_archive);
  connect(russian_action, &QAction::triggered, this, [this] { choose_language(app::Language::Russian); });
  connect(ukrainian_action, &QAction::triggered, this, [this] { choose_language(app::Language::Ukrainian); });

  setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::retranslate() {
  // The caption the window has now: the program's name until it has prepared itself.
  if (prepared_ && !activating_) setWindowTitle(tr("Соединение с РРО"));
  connection_group->setTitle(tr("Подключение к последовательному порту"));
  port_label->setText(tr("&Последовательный порт:"));
  port_label->adjustSize();
  speed_label->setText(tr("&Скорость порта (бод):"));
  speed_label->adjustSize();
  indicator->setAccessibleName(tr("Индикатор подключения"));
  // The procedure's own caption, in the language now.
  connect_button->setText(to_qstring(text::say(connection_ && connection_->connected()
                                                   ? TALQEN_PHRASE("Connection", "Отключить")
                                                   : TALQEN_PHRASE("Connection", "Подключить"))));
  find_button->setText(tr("Найти"));
  find_button->setToolTip(tr("Найти порт, скорость и протокол регистратора"));
  close_button->setText(tr("Закрыть"));
  journal_menu->setTitle(tr("КЛЭФ"));
  open_journal_action->setText(tr("Вывод документов в электронном виде"));
  archive_menu->setTitle(tr("Архив"));
  fill_archive_action->setText(tr("Пополнить архив"));
  open_archive_action->setText(tr("Открыть архив…"));
  language_menu->setTitle(tr("Язык"));
  about_action->setText(tr("О программе..."));
}

void MainWindow::attach_translation(Translation& translation) {
  translation_ = &translation;
  (translation.language() == app::Language::Ukrainian ? ukrainian_action : russian_action)->setChecked(true);
}

void MainWindow::choose_language(app::Language language) {
  if (translation_) translation_->apply(language);
  (language == app::Language::Ukrainian ? ukrainian_action : russian_action)->setChecked(true);
  // Kept beside the other settings, in the program directory (fixed now if not yet).
  std::error_code ec;
  app::fix_program_directory(program_, std::filesystem::current_path(ec).string());
  if (app::store_language(program_.config_path, language) != app::ProfileWrite::Written)
    dialogs_.show_message(from_qstring(tr("Файл fpinit.ini не записывается: язык не сохранен")));
}

void MainWindow::attach(AboutBox& about, JournalWindow& journal, messages::RetrievalFlags& journal_flags) {
  about_ = &about;
  journal_ = &journal;
  connection_.emplace(*view_, program_, journal_flags, worker_dialogs_);
}

void MainWindow::offer_port_first(const QString& port) {
  port_box->insertItem(0, port);
  port_box->setCurrentIndex(0);
}

bool MainWindow::datecs_selected() const {
  return on_ui_thread([this] { return datecs_button->isChecked(); });
}

std::vector<std::string> MainWindow::port_box_items() const {
  std::vector<std::string> ports;
  for (int i = 0; i < port_box->count(); ++i) ports.push_back(port_box->itemText(i).toStdString());
  return ports;
}

void MainWindow::prepare_on_activation() {
  // A message box of this handler returns the activation to the window before the
  // handler ends: that activation is the handler's own and must not start it again.
  if (activating_) return;
  if (worker_.busy()) {
    activated_during_exchange_ = true;
    return;
  }
  activating_ = true;
  prepared_ = true;
  close_button->setEnabled(false);
  connect_button->setEnabled(false);
  about_action->setEnabled(false);
  setWindowTitle(tr("Тестирование USB устройств: Шаг %1").arg(1));
  clock_.sleep_ms(100);
  repaint();
  QCoreApplication::processEvents();
  clock_.sleep_ms(1000);
  setWindowTitle(tr("Соединение с РРО"));

  std::error_code ec;
  app::fix_program_directory(program_, std::filesystem::current_path(ec).string());
  app::ensure_config_file(program_.config_path, dialogs_);
  const app::StoredSelection stored = app::stored_port_and_speed(program_.config_path, port_box_items());
  port_box->setCurrentIndex(static_cast<int>(stored.port));
  speed_box->setCurrentIndex(static_cast<int>(stored.speed));
  // The variant cannot change while connected: the journal window's requests use it.
  if (!connection_ || !connection_->connected())
    (app::stored_protocol(program_.config_path) == app::ProtocolVariant::Quendar ? quendar_button : datecs_button)
        ->setChecked(true);

  close_button->setEnabled(true);
  connect_button->setEnabled(true);
  about_action->setEnabled(true);
  activating_ = false;
}

void MainWindow::run_exchange(std::function<void()> work, std::function<void()> done) {
  set_exchange_controls_enabled(false);
  const bool started = worker_.start(std::move(work), [this, done = std::move(done)] {
    set_exchange_controls_enabled(true);
    if (done) done();
    if (activated_during_exchange_) {
      activated_during_exchange_ = false;
      prepare_on_activation();
    }
  });
  if (!started) set_exchange_controls_enabled(true);
}

void MainWindow::set_exchange_controls_enabled(bool enabled) {
  // The group and the journal item: the procedure's own enabling of the group's controls
  // and of the journal menu stays as it set it.
  connection_group->setEnabled(enabled);
  open_journal_action->setEnabled(enabled);
  update_fill_archive_action();
}

void MainWindow::update_fill_archive_action() {
  fill_archive_action->setEnabled(journal_menu->menuAction()->isEnabled() && open_journal_action->isEnabled());
}

void MainWindow::toggle_connection() {
  if (!connection_) return;
  run_exchange([this] {
    connection_->toggle_connection();
    // The answer to the connection check names the register's archive; the program's
    // result records hold it only until the next exchange.
    if (connection_->connected())
      connection_answer_ = app::connection_answer(program_, datecs_selected());
    else
      connection_answer_.reset();
  });
}

void MainWindow::find_register() {
  auto found = std::make_shared<std::optional<app::FoundRegister>>();
  run_exchange(
      [this, found, ports = port_box_items()] {
        app::RegisterProbe probe(device_link::make_platform_serial_port, device_link::system_clock());
        *found = probe.find(ports, [this](const app::ProbeAttempt& a) {
          on_ui_thread([&] { status_text->setText(tr("Поиск: %1").arg(line_settings(a.port, a.speed, a.datecs))); });
          return !closing_;  // the search ends with the program
        });
      },
      [this, found] {
        if (!*found) {
          status_text->setText(tr("Регистратор не найден"));
          return;
        }
        const app::FoundRegister& r = **found;
        port_box->setCurrentIndex(port_box->findText(QString::fromStdString(r.port)));
        speed_box->setCurrentIndex(speed_box->findText(QString::number(r.speed)));
        (r.datecs ? datecs_button : quendar_button)->setChecked(true);
        status_text->setText(
            tr("Найден: %1. %2").arg(line_settings(r.port, r.speed, r.datecs), to_qstring(r.identity).trimmed()));
      });
}

void MainWindow::open_journal_window() {
  if (!journal_) return;
  hide();
  journal_->open();
}

void MainWindow::ask_archive_to_open() {
  if (!archive_) return;
  auto* dialog = new QFileDialog(this, tr("Открыть архив"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setNameFilters({tr("Архив РРО (*.talqen.db)"), tr("Все файлы (*)")});
  connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
    // A path for the file system, in the platform's encoding.
    archive_->open_archive(QFile::encodeName(file).toStdString());
  });
  dialog->open();
}

QString MainWindow::archive_folder() {
  // %LOCALAPPDATA%\Talqen on Windows, $XDG_DATA_HOME/talqen (~/.local/share/talqen) elsewhere.
#ifdef _WIN32
  const QString name = QStringLiteral("Talqen");
#else
  const QString name = QStringLiteral("talqen");
#endif
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') + name;
}

void MainWindow::fill_archive() {
  if (!journal_ || !archive_ || !attention_) return;
  struct Run {
    std::string folder;
    std::optional<std::string> path;     // the archive filled
    std::optional<std::string> refused;  // why nothing was asked
    archive::FillOutcome outcome;
    std::vector<std::string> lines;  // told before the outcome: where the fill began, unreadable documents
  };
  auto run = std::make_shared<Run>();
  const QString folder = archive_folder();
  QDir().mkpath(folder);
  run->folder = QFile::encodeName(folder).toStdString();
  run_exchange(
      [this, run, answer = connection_answer_.value_or(archive::ConnectionAnswer{})] {
        retrieval::JournalWindowLogic& window = journal_->logic();
        if (answer.factory_number.empty()) {
          run->refused = from_qstring(tr("Ответ РРО на проверку связи не называет заводской номер"));
          return;
        }
        const std::string path = run->folder + "/" + archive::default_archive_name(answer.factory_number);
        std::optional<archive::TapeArchive> tape;
        try {
          tape.emplace(archive::TapeArchive::open_for_register(path, answer));
        } catch (const archive::ArchiveError& e) {
          run->refused = text::from_utf8(e.what());
          return;
        }
        retrieval::AttentionWindow& attention = *attention_;
        attention.set_caption(from_qstring(tr("Пополнение архива")));
        attention.set_activity(from_qstring(tr("Запрос номера последнего документа")));
        attention.set_progress("");
        attention.show();
        // A time-out asks whether to go on, as in the journal window's retrievals.
        const bool was_open = std::exchange(window.flags.retrieval_open, true);
        const std::optional<archive::FillRange> whole_tape = archive::AskWholeTape(window);
        if (whole_tape) {
          run->path = path;
          if (!whole_tape->tape_beginning) run->lines.push_back(archive::AskedFromFirstNumberLine());
          archive::FillObserver observer;
          observer.unreadable = [run](const std::string& line) { run->lines.push_back(line); };
          observer.progress = [&attention](const archive::FillSummary& s) {
            attention.set_activity(from_qstring(tr("Запрошено %1 из %2, получено %3, в архиве %4")
                                                    .arg(s.asked)
                                                    .arg(s.to_ask)
                                                    .arg(s.fetched)
                                                    .arg(s.held_before + s.fetched)));
          };
          run->outcome = archive::FillArchive(*tape, window, *whole_tape, observer);
        } else {
          run->refused = from_qstring(tr("РРО не сообщил номер последнего документа"));
        }
        window.ClearStopRequest();
        window.flags.retrieval_open = was_open;
        attention.set_progress("");
        attention.hide();
      },
      [this, run] {
        if (run->refused) {
          dialogs_.show_message(*run->refused);
          return;
        }
        dialogs_.show_message(app::fill_report_text(run->outcome, run->lines));
        if (run->path) archive_->open_archive(*run->path);
      });
}

void MainWindow::show_about_box() {
  if (about_) about_->open();
}

void MainWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::LanguageChange) retranslate();
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) prepare_on_activation();
}

void MainWindow::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // Without a window manager no activation may ever come: the first showing prepares.
  if (!prepared_)
    QTimer::singleShot(0, this, [this] {
      if (!prepared_) prepare_on_activation();
    });
}

void MainWindow::closeEvent(QCloseEvent* e) {
  // Closing the main window ends the program, once the exchange under way has ended; an
  // open port is left as it is.
  closing_ = true;
  if (worker_.busy()) {
    if (journal_) journal_->logic().RequestStop();
    if (!worker_.wait_until_idle(kStopWaitMs)) {
      closing_ = false;
      e->ignore();
      return;
    }
  }
  QMainWindow::closeEvent(e);
  QCoreApplication::quit();
}

}  // namespace ui
