// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/archive_window.hpp"

#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <limits>

#include "app/config_file.hpp"
#include "archive/tape_archive.hpp"
#include "text/cp1251.hpp"
#include "ui/attention_dialog.hpp"
#include "ui/designed_font.hpp"
#include "ui/line_list_model.hpp"
#include "ui/masked_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/ui_thread.hpp"
#include "ui/verification_window.hpp"

using namespace text::literals;

namespace ui {

namespace {

// How long closing waits for a stopped reading.
constexpr int kStopWaitMs = 60000;
// Documents between two progress texts of a long reading.
constexpr std::int64_t kProgressStep = 200;

// The save dialog's file types, each with the form it picks.
struct ExportType {
  const char* filter;  // UTF-8, translated in the context ui::ArchiveWindow
  const char* suffix;
  archive::ExportFormat format;
};
constexpr ExportType kExportTypes[] = {
    {"Excel (*.xlsx)", "xlsx", archive::ExportFormat::Xlsx},
    {"CSV (*.csv)", "csv", archive::ExportFormat::Csv},
    {"JSON (*.json)", "json", archive::ExportFormat::Json},
    {QT_TRANSLATE_NOOP("ui::ArchiveWindow", "Текст (*.txt)"), "txt", archive::ExportFormat::Text},
    {QT_TRANSLATE_NOOP("ui::ArchiveWindow", "Текст журнала (*.xml)"), "xml", archive::ExportFormat::Xml},
};

// After this long a reading shows the attention window.
constexpr int kLongReadingMs = 700;

}  // namespace

ArchiveWindow::ArchiveWindow(const messages::ProgramState& program, messages::Dialogs& dialogs,
                             AttentionDialog& attention, QWidget* parent)
    : QDialog(parent), program_(program), dialogs_(dialogs), attention_(attention),
      lines_(std::make_unique<LineListModel>(shown_)) {
  setFont(designed_font());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMinMaxButtonsHint);
  resize(900, 640);

  const auto field = [this](const char* mask = nullptr) {
    auto* e = new QLineEdit(this);
    if (mask) e->setInputMask(QString::fromLatin1(mask));
    return e;
  };
  const auto button = [this] {
    auto* b = new QPushButton(this);
    b->setAutoDefault(false);
    return b;
  };

  lines_view = new QListView(this);
  show_lines_in(*lines_view, *lines_);

  kind_box = new QComboBox(this);
  kind_box->addItems({QString(), QString(), QString()});
  by_numbers_button = new QRadioButton(this);
  first_number_edit = field();
  last_number_edit = field();
  by_dates_button = new QRadioButton(this);
  start_date_edit = field(kDateMask);
  start_time_edit = field(kTimeMask);
  end_date_edit = field(kDateMask);
  end_time_edit = field(kTimeMask);
  show_button = button();
  show_button->setDefault(true);
  find_edit = field();
  find_next_button = button();
  find_previous_button = button();
  export_button = button();
  verify_button = button();
  close_button = button();

  const auto caption = [this](QWidget* buddy) {
    auto* l = new QLabel(this);
    l->setBuddy(buddy);
    return l;
  };
  kind_caption_ = caption(kind_box);
  first_number_caption_ = caption(first_number_edit);
  last_number_caption_ = caption(last_number_edit);
  from_caption_ = caption(start_date_edit);
  to_caption_ = caption(end_date_edit);
  find_caption_ = caption(find_edit);
  selection_group_ = new QGroupBox(this);
  auto* grid = new QGridLayout(selection_group_);
  grid->addWidget(kind_caption_, 0, 0);
  grid->addWidget(kind_box, 0, 1, 1, 2);
  grid->addWidget(by_numbers_button, 1, 0, 1, 3);
  grid->addWidget(first_number_caption_, 2, 0);
  grid->addWidget(first_number_edit, 2, 1, 1, 2);
  grid->addWidget(last_number_caption_, 3, 0);
  grid->addWidget(last_number_edit, 3, 1, 1, 2);
  grid->addWidget(by_dates_button, 4, 0, 1, 3);
  grid->addWidget(from_caption_, 5, 0);
  grid->addWidget(start_date_edit, 5, 1);
  grid->addWidget(start_time_edit, 5, 2);
  grid->addWidget(to_caption_, 6, 0);
  grid->addWidget(end_date_edit, 6, 1);
  grid->addWidget(end_time_edit, 6, 2);
  grid->addWidget(show_button, 7, 1, 1, 2);

  search_group_ = new QGroupBox(this);
  auto* find_grid = new QGridLayout(search_group_);
  find_grid->addWidget(find_caption_, 0, 0);
  find_grid->addWidget(find_edit, 0, 1, 1, 2);
  find_grid->addWidget(find_previous_button, 1, 1);
  find_grid->addWidget(find_next_button, 1, 2);

  auto* side = new QVBoxLayout;
  side->addWidget(selection_group_);
  side->addWidget(search_group_);
  side->addStretch(1);
  side->addWidget(verify_button);
  side->addWidget(export_button);
  side->addWidget(close_button);

  auto* body = new QHBoxLayout;
  body->addWidget(lines_view, 1);
  body->addLayout(side);

  status_bar = new QStatusBar(this);
  status_bar->setSizeGripEnabled(false);
  summary_label = new QLabel(this);
  status_bar->addPermanentWidget(summary_label);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(status_bar);

  // Tab goes down the selection, then the search, then the list and the buttons below.
  QWidget* order[] = {kind_box,      by_numbers_button,    first_number_edit, last_number_edit, by_dates_button,
                      start_date_edit, start_time_edit,    end_date_edit,     end_time_edit,    show_button,
                      find_edit,     find_previous_button, find_next_button,  lines_view,       verify_button,
                      export_button, close_button};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  // The fields of the other way of selecting follow the choice.
  const auto follow_choice = [this] {
    const bool by_dates = by_dates_button->isChecked();
    for (QWidget* w : {first_number_edit, last_number_edit}) w->setEnabled(!by_dates);
    for (QWidget* w : {start_date_edit, start_time_edit, end_date_edit, end_time_edit}) w->setEnabled(by_dates);
  };
  connect(by_dates_button, &QRadioButton::toggled, this, follow_choice);
  by_numbers_button->setChecked(true);
  follow_choice();

  connect(show_button, &QPushButton::clicked, this, &ArchiveWindow::show_selection);
  connect(find_next_button, &QPushButton::clicked, this, [this] { find(app::SearchDirection::Forwards); });
  connect(find_previous_button, &QPushButton::clicked, this, [this] { find(app::SearchDirection::Backwards); });
  connect(export_button, &QPushButton::clicked, this, &ArchiveWindow::ask_export);
  connect(verify_button, &QPushButton::clicked, this, &ArchiveWindow::verify_selection);
  verification_window = new VerificationWindow(dialogs_, this);
  connect(verification_window, &VerificationWindow::documents_chosen, this,
          [this](std::int32_t first, std::int32_t last) { show_documents(first, last); });
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
  auto* to_find = new QShortcut(QKeySequence::Find, this);
  connect(to_find, &QShortcut::activated, this, [this] {
    find_edit->setFocus(Qt::ShortcutFocusReason);
    find_edit->selectAll();
  });
  auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
  connect(next, &QShortcut::activated, this, [this] { find(app::SearchDirection::Forwards); });
  auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
  connect(previous, &QShortcut::activated, this, [this] { find(app::SearchDirection::Backwards); });
  // Enter in the search field finds the next line instead of showing the selection again.
  find_edit->installEventFilter(this);
  retranslate();
}

void ArchiveWindow::retranslate() {
  const auto button = [](QAbstractButton* b, const QString& caption) {
    b->setText(caption);
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  };
  lines_view->setAccessibleName(tr("Документы"));
  kind_box->setAccessibleName(tr("Тип документа"));
  const QString kinds[] = {tr("Z-отчет"), tr("Чек"), tr("Чек+Z-отчет")};
  for (int i = 0; i < 3; ++i) kind_box->setItemText(i, kinds[i]);
  button(by_numbers_button, tr("по &номерам"));
  first_number_edit->setAccessibleName(tr("Начальный номер"));
  last_number_edit->setAccessibleName(tr("Конечный номер"));
  button(by_dates_button, tr("по &датам"));
  start_date_edit->setAccessibleName(tr("Начальная дата"));
  start_time_edit->setAccessibleName(tr("Начальное время"));
  end_date_edit->setAccessibleName(tr("Конечная дата"));
  end_time_edit->setAccessibleName(tr("Конечное время"));
  for (QLineEdit* date : {start_date_edit, end_date_edit}) date->setToolTip(tr("дд.мм.гг"));
  for (QLineEdit* time : {start_time_edit, end_time_edit}) time->setToolTip(tr("чч:мм"));
  button(show_button, tr("Показать"));
  find_edit->setAccessibleName(tr("Найти"));
  button(find_next_button, tr("Далее"));
  button(find_previous_button, tr("Назад"));
  button(export_button, tr("Экспорт…"));
  button(verify_button, tr("Проверить"));
  button(close_button, tr("Закрыть"));
  kind_caption_->setText(tr("&Тип документа"));
  first_number_caption_->setText(tr("Н&ачальный номер"));
  last_number_caption_->setText(tr("&Конечный номер"));
  from_caption_->setText(tr("&С"));
  to_caption_->setText(tr("&По"));
  find_caption_->setText(tr("На&йти"));
  selection_group_->setTitle(tr("Выборка"));
  search_group_->setTitle(tr("Поиск"));
  show_archive_state();
  // What the status line told stays in the words it was told in until the next message.
}

void ArchiveWindow::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::LanguageChange) retranslate();
}

ArchiveWindow::~ArchiveWindow() {
  stop_.store(true);
  reader_.wait_until_finished();
}

bool ArchiveWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == find_edit && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      find((static_cast<QKeyEvent*>(e)->modifiers() & Qt::ShiftModifier) ? app::SearchDirection::Backwards
                                                                          : app::SearchDirection::Forwards);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

bool ArchiveWindow::wait_until_idle(int bound_ms) {
  // A reading may start the next when it ends (opening shows the first selection).
  const QDeadlineTimer deadline(bound_ms);
  while (reader_.busy() && !deadline.hasExpired()) reader_.wait_until_idle(static_cast<int>(deadline.remainingTime()));
  return !reader_.busy();
}

QString ArchiveWindow::status_message() const { return status_bar->currentMessage(); }

app::ArchiveFields ArchiveWindow::read_fields() const {
  // A masked field shows a missing digit as a blank: read as a zero, it makes no date.
  const auto masked = [](const QLineEdit* e, char separator) {
    std::string typed = MaskedFieldText(e->displayText().toStdString(), separator);
    for (char& c : typed)
      if (c == ' ') c = '0';
    return typed;
  };
  app::ArchiveFields fields;
  fields.kind = render::DocumentKindOfItem(kind_box->currentIndex());
  fields.by_dates = by_dates_button->isChecked();
  fields.first_number = from_qstring(first_number_edit->text().trimmed());
  fields.last_number = from_qstring(last_number_edit->text().trimmed());
  fields.start_date = masked(start_date_edit, '.');
  fields.end_date = masked(end_date_edit, '.');
  fields.start_time = masked(start_time_edit, ':');
  fields.end_time = masked(end_time_edit, ':');
  return fields;
}

void ArchiveWindow::show_fields(const app::ArchiveFields& fields) {
  kind_box->setCurrentIndex(render::ItemOfDocumentKind(fields.kind));
  (fields.by_dates ? by_dates_button : by_numbers_button)->setChecked(true);
  first_number_edit->setText(to_qstring(fields.first_number));
  last_number_edit->setText(to_qstring(fields.last_number));
  start_date_edit->setText(to_qstring(fields.start_date));
  end_date_edit->setText(to_qstring(fields.end_date));
  start_time_edit->setText(to_qstring(fields.start_time));
  end_time_edit->setText(to_qstring(fields.end_time));
}

std::optional<app::ArchiveView> ArchiveWindow::checked_view() {
  auto view = app::read_view(read_fields());
  if (const std::string* wrong = std::get_if<std::string>(&view)) {
    dialogs_.show_message(*wrong);
    return std::nullopt;
  }
  return std::get<app::ArchiveView>(std::move(view));
}

void ArchiveWindow::set_requests_enabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{show_button, export_button, verify_button, kind_box,
                                                    by_numbers_button, by_dates_button})
    w->setEnabled(enabled);
}

void ArchiveWindow::read(std::function<void()> work, std::function<void()> done, std::string caption) {
  if (reader_.busy()) return;  // the requests are disabled meanwhile; a late call is dropped
  set_requests_enabled(false);
  stop_.store(false);
  const int reading = ++readings_;
  QTimer::singleShot(kLongReadingMs, this, [this, reading, caption] {
    // Not while the attention window tells of something else (a filling on the exchange worker).
    if (reader_.busy() && readings_ == reading && !attention_shown_ && !attention_.isVisible())
      show_attention(caption);
  });
  const auto guarded = [this, work = std::move(work)] {
    try {
      work();
    } catch (const std::exception& e) {
      on_ui_thread([&] { dialogs_.show_message(text::from_utf8(e.what())); });
    }
  };
  if (!reader_.start(guarded, [this, done = std::move(done)] {
        if (attention_shown_) hide_attention();
        set_requests_enabled(true);
        if (done) done();
      }))
    set_requests_enabled(true);
}

void ArchiveWindow::show_attention(const std::string& caption) {
  attention_shown_ = true;
  previous_cancel_ = attention_.cancel_action();
  attention_.set_cancel_action([this] { stop_.store(true); });
  attention_.set_caption(caption);
  attention_.set_activity(from_qstring(tr("Чтение архива")));
  attention_.set_progress("");
  attention_.show();
}

void ArchiveWindow::hide_attention() {
  attention_shown_ = false;
  attention_.hide();
  attention_.set_cancel_action(previous_cancel_);
}

void ArchiveWindow::show_archive_state() {
  if (!logic_.is_open()) {
    setWindowTitle(tr("Архив РРО"));
    summary_label->clear();
    return;
  }
  const archive::RegisterIdentity& identity = logic_.identity();
  setWindowTitle(tr("Архив РРО  ЗН %1  ФН %2").arg(to_qstring(identity.serial), to_qstring(identity.fiscal_number)));
  summary_label->setText(to_qstring(app::summary_line(logic_.summary())));
}

void ArchiveWindow::open_archive(const std::string& path, std::function<void(bool)> done) {
  auto failure = std::make_shared<std::optional<std::string>>();
  auto fields = std::make_shared<app::ArchiveFields>();
  read(
      [this, path, failure, fields] {
        try {
          logic_.open(path);
        } catch (const archive::ArchiveError& e) {
          *failure = e.what();
          return;
        }
        *fields = logic_.default_fields();
      },
      [this, failure, fields, done = std::move(done)] {
        if (*failure) {
          dialogs_.show_message(text::from_utf8(**failure));
          if (done) done(false);
          return;
        }
        show_fields(*fields);
        show_archive_state();
        shown_view_.reset();
        shown_.clear();
        lines_->refresh();
        status_bar->clearMessage();
        QDialog::show();
        raise();
        activateWindow();
        const std::optional<app::ArchiveView> view = checked_view();
        if (view)
          show_view(*view, [done] {
            if (done) done(true);
          });
        else if (done)
          done(true);
      },
      from_qstring(tr("Архив РРО")));
}

void ArchiveWindow::show_selection() {
  if (!logic_.is_open()) return;
  if (const std::optional<app::ArchiveView> view = checked_view()) show_view(*view);
}

void ArchiveWindow::show_view(const app::ArchiveView& view, std::function<void()> then) {
  const render::Organisation organisation = app::stored_organisation(program_.config_path);
  auto result = std::make_shared<app::SelectionResult>();
  read(
      [this, view, organisation, result] {
        *result = logic_.show(view, organisation, pending_, [this](std::int64_t read) {
          if (read % kProgressStep == 0)
            attention_.set_progress(from_qstring(tr("Документов: %1").arg(read)));
          return !stop_.load();
        });
      },
      [this, view, result, then = std::move(then)] {
        shown_view_ = view;
        shown_.swap(pending_);
        pending_.clear();
        lines_->refresh();
        const std::string problem = result->problem();
        status_bar->showMessage(problem.empty()
                                    ? tr("Показано документов: %1").arg(result->written)
                                    : to_qstring(problem));
        if (result->failure || result->archive_error) dialogs_.show_message(problem);
        if (then) then();
      },
      from_qstring(tr("Архив РРО")));
}

void ArchiveWindow::find(app::SearchDirection direction) {
  const QString wanted = find_edit->text();
  if (wanted.isEmpty()) {
    find_edit->setFocus();
    return;
  }
  const QModelIndex current = lines_view->currentIndex();
  const std::optional<std::size_t> from =
      current.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(current.row())) : std::nullopt;
  const std::optional<std::size_t> found = app::find_line(shown_, from_qstring(wanted), from, direction);
  if (!found) {
    status_bar->showMessage(tr("Не найдено"));
    return;
  }
  status_bar->clearMessage();
  const QModelIndex at = lines_->index(static_cast<int>(*found), 0);
  lines_view->setCurrentIndex(at);
  lines_view->scrollTo(at);
}

void ArchiveWindow::ask_export() {
  if (!logic_.is_open() || !shown_view_) return;
  auto* dialog = new QFileDialog(this, tr("Экспорт"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  QStringList filters;
  for (const ExportType& type : kExportTypes) filters << tr(type.filter);
  dialog->setNameFilters(filters);
  const auto suffix_of = [filters](const QString& filter) {
    return QString::fromLatin1(kExportTypes[std::max<qsizetype>(0, filters.indexOf(filter))].suffix);
  };
  dialog->setDefaultSuffix(suffix_of(filters.front()));
  dialog->selectFile(to_qstring(archive::default_archive_name(logic_.identity().serial)).section(QLatin1Char('.'), 0, 0) +
                     QLatin1Char('.') + suffix_of(filters.front()));
  connect(dialog, &QFileDialog::filterSelected, dialog,
          [dialog, suffix_of](const QString& filter) { dialog->setDefaultSuffix(suffix_of(filter)); });
  connect(dialog, &QFileDialog::fileSelected, this, [this, dialog, filters](const QString& file) {
    const qsizetype type = std::max<qsizetype>(0, filters.indexOf(dialog->selectedNameFilter()));
    // A path for the file system, in the platform's encoding.
    export_selection(QFile::encodeName(file).toStdString(), kExportTypes[type].format);
  });
  dialog->open();
}

void ArchiveWindow::export_selection(const std::string& path, archive::ExportFormat format) {
  // What is shown is what is exported, whatever the fields say since.
  const std::optional<app::ArchiveView> view = shown_view_;
  if (!view) return;
  const render::Organisation organisation = app::stored_organisation(program_.config_path);
  auto result = std::make_shared<app::SelectionResult>();
  read(
      [this, path, format, view = *view, organisation, result] {
        *result = logic_.export_to(path, format, view, organisation, [this](std::int64_t read) {
          if (read % kProgressStep == 0) attention_.set_progress(from_qstring(tr("Документов: %1").arg(read)));
          return !stop_.load();
        });
      },
      [this, path, result] {
        const std::string problem = result->problem();
        if (!problem.empty()) {
          dialogs_.show_message(problem + (result->file_failed ? " " + path : std::string()));
          return;
        }
        status_bar->showMessage(tr("Записано документов: %1").arg(result->written));
      },
      from_qstring(tr("Экспорт")));
}

void ArchiveWindow::verify_selection() {
  // What is shown is what is verified.
  const std::optional<app::ArchiveView> view = shown_view_;
  if (!logic_.is_open() || !view) return;
  auto report = std::make_shared<std::optional<app::VerificationReport>>();
  read(
      [this, view = *view, report] {
        *report = logic_.verify(view, [this](std::int64_t read) {
          if (read % kProgressStep == 0) attention_.set_progress(from_qstring(tr("Документов: %1").arg(read)));
          return !stop_.load();
        });
      },
      [this, report] {
        if (!*report || (*report)->stopped) return;
        verification_window->show_report(std::move(**report));
      },
      from_qstring(tr("Проверка архива")));
}

void ArchiveWindow::show_documents(std::int32_t first, std::int32_t last, bool widen_when_none) {
  app::ArchiveFields fields = read_fields();
  fields.kind = render::DocumentKind::Both;
  fields.by_dates = false;
  fields.first_number = std::to_string(first);
  fields.last_number = std::to_string(last);
  show_fields(fields);
  const auto view = app::read_view(fields);
  if (!std::holds_alternative<app::ArchiveView>(view)) return;
  raise();
  activateWindow();
  show_view(std::get<app::ArchiveView>(view), [this, first, last, widen_when_none] {
    if (shown_.empty() && widen_when_none) {
      // A run the archive does not hold: the documents on either side show where it is.
      show_documents(std::max(1, first - 1), last == std::numeric_limits<std::int32_t>::max() ? last : last + 1, false);
      return;
    }
    if (shown_.empty()) return;
    const QModelIndex top = lines_->index(0, 0);
    lines_view->setCurrentIndex(top);
    lines_view->scrollTo(top, QAbstractItemView::PositionAtTop);
    lines_view->setFocus();
  });
}

bool ArchiveWindow::stop_reading() {
  if (!reader_.busy()) return true;
  stop_.store(true);
  return reader_.wait_until_idle(kStopWaitMs);
}

void ArchiveWindow::reject() {
  if (stop_reading()) QDialog::reject();
}

void ArchiveWindow::closeEvent(QCloseEvent* e) {
  if (!stop_reading()) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

}  // namespace ui
