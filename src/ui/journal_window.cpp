// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/journal_window.hpp"

#include <exception>

#include <QCloseEvent>
#include <QEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QItemSelectionModel>
#include <QPushButton>

#include "app/config_file.hpp"
#include "ui/line_list_model.hpp"
#include "ui/masked_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/attention_dialog.hpp"
#include "ui/exchange_worker.hpp"

#include "ui/designed_font.hpp"

namespace ui {

namespace {

// How long closing waits for a stopped retrieval's current document.
constexpr int kStopWaitMs = 60000;

QLabel* label(QWidget* parent, int left, int top, QWidget* names) {
  auto* l = new QLabel(parent);
  l->move(left, top);
  l->setBuddy(names);
  return l;
}

void set_caption(QLabel* l, const QString& text) {
  l->setText(text);
  l->adjustSize();
}

QLineEdit* edit(QWidget* parent, int left, int top, int width, int height) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(left, top, width, height);
  return e;
}

QLineEdit* masked(QWidget* parent, int left, int top, int width, const char* mask) {
  QLineEdit* e = edit(parent, left, top, width, 21);
  e->setInputMask(QString::fromLatin1(mask));
  return e;
}

QPushButton* button(QWidget* parent, int left, int top, int width) {
  auto* b = new QPushButton(parent);
  b->setGeometry(left, top, width, 25);
  b->setProperty("designed_width", width);
  return b;
}

void set_caption(QPushButton* b, const QString& text) {
  b->setText(text);
  // The designed width, or more where this platform's font needs it for the caption.
  b->resize(std::max(b->property("designed_width").toInt(), b->sizeHint().width()), b->height());
}

}  // namespace

JournalWindow::JournalWindow(messages::ProgramState& program, messages::Dialogs& dialogs, AttentionDialog& attention,
                 QWidget& main_window, std::function<bool()> datecs_selected, device_link::Clock& clock,
                 ExchangeWorker& worker, std::string temp_xml_path)
    : main_window_(main_window),
      program_(program),
      dialogs_(dialogs),
      worker_dialogs_(dialogs),
      worker_(worker),
      logic_({program, worker_dialogs_, attention, *this, std::move(datecs_selected), clock}, std::move(temp_xml_path)),
      lines_(std::make_unique<LineListModel>(logic_.rendered_lines)),
      empty_list_(std::make_unique<LineListModel>(no_lines_)) {
  setFont(designed_font());
  setWindowModality(Qt::ApplicationModal);
  setGeometry(414, 125, 833, 638);
  setFixedSize(833, 638);
  attention.set_cancel_action([this] { logic_.RequestStop(); });

  lines_view = new QListView(this);
  lines_view->setGeometry(24, 8, 473, 569);
  show_lines_in(*lines_view, *lines_);

  by_numbers_group = new QGroupBox(this);
  by_numbers_group->setGeometry(520, 24, 281, 201);
  kind_box = new QComboBox(by_numbers_group);
  kind_box->setEditable(true);
  kind_box->setGeometry(16, 48, 145, 21);
  kind_box->addItems({QString(), QString(), QString()});
  kind_label = label(by_numbers_group, 16, 24, kind_box);
  password_edit = edit(by_numbers_group, 16, 88, 121, 21);
  password_label = label(by_numbers_group, 19, 72, password_edit);
  first_number_edit = edit(by_numbers_group, 16, 128, 121, 21);
  first_number_label = label(by_numbers_group, 16, 112, first_number_edit);
  last_number_edit = edit(by_numbers_group, 16, 176, 121, 21);
  last_number_label = label(by_numbers_group, 16, 152, last_number_edit);
  fetch_by_numbers_button = button(by_numbers_group, 198, 32, 75);
  print_button = button(by_numbers_group, 184, 128, 89);

  by_dates_group = new QGroupBox(this);
  by_dates_group->setGeometry(520, 248, 281, 185);
  fetch_by_dates_button = button(by_dates_group, 182, 16, 75);
  numbers_from_dates_button = button(by_dates_group, 168, 48, 89);
  start_date_edit = masked(by_dates_group, 24, 104, 118, kDateMask);
  start_date_label = label(by_dates_group, 24, 76, start_date_edit);
  end_date_edit = masked(by_dates_group, 24, 152, 118, kDateMask);
  end_date_label = label(by_dates_group, 23, 132, end_date_edit);
  start_time_edit = masked(by_dates_group, 184, 104, 71, kTimeMask);
  time_label = label(by_dates_group, 192, 80, start_time_edit);
  end_time_edit = masked(by_dates_group, 184, 144, 72, kTimeMask);

  save_button = button(this, 720, 456, 75);
  close_button = button(this, 720, 504, 75);
  retranslate();

  connect(kind_box, &QComboBox::activated, this, [this] { run_handler([this] { logic_.FillNumbersForKind(); }); });
  connect(fetch_by_numbers_button, &QPushButton::clicked, this, [this] { run_exchange([this] { logic_.RetrieveByNumbers(); }, true); });
  connect(fetch_by_dates_button, &QPushButton::clicked, this, [this] { run_exchange([this] { logic_.RetrieveByDates(); }, true); });
  connect(numbers_from_dates_button, &QPushButton::clicked, this, [this] { run_exchange([this] { logic_.FillNumbersFromDates(); }, false); });
  connect(save_button, &QPushButton::clicked, this, [this] { run_handler([this] { logic_.SaveListAs(); }); });
  connect(print_button, &QPushButton::clicked, this, [this] { run_exchange([this] { logic_.PrintOnRegister(); }, false); });
  connect(close_button, &QPushButton::clicked, this, [this] { run_handler([this] { logic_.Close(); }); });

  logic_.SetDefaultFields();
  show_state();
}

JournalWindow::~JournalWindow() = default;

void JournalWindow::retranslate() {
  setWindowTitle(tr("Форма запроса и отображения данных"));
  lines_view->setAccessibleName(tr("Документы"));
  by_numbers_group->setTitle(tr("по номерам"));
  // The kinds in the order of render::DocumentKindOfItem; the typed text follows the item.
  const QString kinds[] = {tr("Z-отчет"), tr("Чек"), tr("Чек+Z-отчет")};
  const bool typed_an_item = kind_box->findText(kind_box->currentText(), Qt::MatchExactly) == kind_box->currentIndex();
  for (int i = 0; i < 3; ++i) kind_box->setItemText(i, kinds[i]);
  if (typed_an_item) kind_box->setEditText(kind_box->itemText(kind_box->currentIndex()));
  set_caption(kind_label, tr("&Тип документа"));
  set_caption(password_label, tr("П&ароль"));
  set_caption(first_number_label, tr("&Начальный номер"));
  set_caption(last_number_label, tr("&Конечный номер"));
  set_caption(fetch_by_numbers_button, tr("Получить"));
  set_caption(print_button, tr("Печать на РРО"));
  by_dates_group->setTitle(tr("по датам"));
  set_caption(fetch_by_dates_button, tr("Получить"));
  set_caption(numbers_from_dates_button, tr("Вернуть номера"));
  set_caption(start_date_label, tr("Н&ачальная дата"));
  set_caption(end_date_label, tr("Ко&нечная дата"));
  set_caption(time_label, tr("&Время"));
  for (QLineEdit* date : {start_date_edit, end_date_edit}) date->setToolTip(tr("дд.мм.гг"));
  for (QLineEdit* time : {start_time_edit, end_time_edit}) time->setToolTip(tr("чч:мм"));
  end_time_edit->setAccessibleName(tr("Конечное время"));
  set_caption(save_button, tr("Сохранить"));
  set_caption(close_button, tr("Закрыть"));
}

void JournalWindow::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::LanguageChange) retranslate();
}

void JournalWindow::read_fields() {
  logic_.document_kind = render::DocumentKindOfItem(kind_box->findText(kind_box->currentText(), Qt::MatchExactly));
  logic_.fields.first_number = from_qstring(first_number_edit->text());
  logic_.fields.last_number = from_qstring(last_number_edit->text());
  logic_.fields.password = from_qstring(password_edit->text());
  logic_.fields.start_date = MaskedFieldText(start_date_edit->displayText().toStdString(), '.');
  logic_.fields.end_date = MaskedFieldText(end_date_edit->displayText().toStdString(), '.');
  logic_.fields.start_time = MaskedFieldText(start_time_edit->displayText().toStdString(), ':');
  logic_.fields.end_time = MaskedFieldText(end_time_edit->displayText().toStdString(), ':');
}

void JournalWindow::show_state() {
  if (logic_.document_kind != render::DocumentKind::None)
    kind_box->setCurrentIndex(render::ItemOfDocumentKind(logic_.document_kind));
  first_number_edit->setText(to_qstring(logic_.fields.first_number));
  last_number_edit->setText(to_qstring(logic_.fields.last_number));
  password_edit->setText(to_qstring(logic_.fields.password));
  start_date_edit->setText(to_qstring(logic_.fields.start_date));
  end_date_edit->setText(to_qstring(logic_.fields.end_date));
  start_time_edit->setText(to_qstring(logic_.fields.start_time));
  end_time_edit->setText(to_qstring(logic_.fields.end_time));
  lines_->refresh();
}

template <class Handler>
void JournalWindow::run_handler(Handler handler) {
  read_fields();
  try {
    handler();
  } catch (const std::exception& e) {
    // What a handler lets through (a number field that holds no number) is reported as
    // the program reports any failure, and the window goes on.
    dialogs_.show_message(text::from_utf8(e.what()));
  }
  show_state();
}

void JournalWindow::run_exchange(std::function<void()> handler, bool rewrites_lines) {
  read_fields();
  // The shop named at the head of every document, as fpinit.ini names it now.
  if (rewrites_lines) logic_.set_organisation(app::stored_organisation(program_.config_path));
  set_requests_enabled(false);
  if (rewrites_lines) lines_view->setModel(empty_list_.get());
  const auto work = [this, handler = std::move(handler)] {
    try {
      handler();
    } catch (const std::exception& e) {
      worker_dialogs_.show_message(text::from_utf8(e.what()));
    }
  };
  const auto done = [this, rewrites_lines] {
    if (rewrites_lines) {
      QItemSelectionModel* emptied = lines_view->selectionModel();
      lines_view->setModel(lines_.get());
      delete emptied;
    }
    show_state();
    set_requests_enabled(true);
  };
  if (!worker_.start(work, done)) done();  // another exchange runs: this one is not started
}

void JournalWindow::set_requests_enabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{by_numbers_group, by_dates_group, save_button, close_button})
    w->setEnabled(enabled);
}

bool JournalWindow::stop_exchange() {
  if (!worker_.busy()) return true;
  logic_.RequestStop();
  return worker_.wait_until_idle(kStopWaitMs);
}

void JournalWindow::closeEvent(QCloseEvent* e) {
  if (!stop_exchange()) {
    e->ignore();
    return;
  }
  logic_.OnClosed();
  QDialog::closeEvent(e);
}

void JournalWindow::reject() {
  // Escape hides the window without a close event: the main window comes back all the same.
  if (!stop_exchange()) return;
  logic_.OnClosed();
  QDialog::reject();
}

// The logic moves the windows from the worker.
void JournalWindow::show_journal_window() {
  on_ui_thread([this] { QDialog::show(); });
}
void JournalWindow::hide_journal_window() {
  on_ui_thread([this] { QDialog::hide(); });
}
void JournalWindow::close_journal_window() {
  on_ui_thread([this] { QDialog::close(); });
}
void JournalWindow::show_main_window() {
  on_ui_thread([this] { main_window_.show(); });
}

}  // namespace ui
