// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/verification_window.hpp"

#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "text/atomic_file.hpp"
#include "text/wording.hpp"
#include "ui/designed_font.hpp"
#include "ui/qt_text.hpp"
#include "ui/verification_table_model.hpp"

using namespace text::literals;

namespace ui {

VerificationWindow::VerificationWindow(messages::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), model_(std::make_unique<VerificationTableModel>()) {
  setFont(designed_font());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMinMaxButtonsHint);
  resize(960, 420);
  summary_label = new QLabel(this);
  summary_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  findings_view = new QTableView(this);
  model_->set_font(font());
  findings_view->setModel(model_.get());
  findings_view->setSelectionBehavior(QAbstractItemView::SelectRows);
  findings_view->setSelectionMode(QAbstractItemView::SingleSelection);
  findings_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  findings_view->setWordWrap(false);
  findings_view->setTabKeyNavigation(false);  // Tab goes on to the buttons
  findings_view->verticalHeader()->hide();
  findings_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  findings_view->horizontalHeader()->setSectionResizeMode(app::VerificationTable::What, QHeaderView::Stretch);
  save_button = new QPushButton(this);
  save_button->setAutoDefault(false);
  close_button = new QPushButton(this);
  close_button->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save_button);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_label);
  layout->addWidget(findings_view, 1);
  layout->addLayout(buttons);
  setTabOrder(findings_view, save_button);
  setTabOrder(save_button, close_button);
  retranslate();

  // Enter and a double click both activate a row.
  connect(findings_view, &QTableView::activated, this, [this](const QModelIndex& index) {
    const auto& rows = model_->table().rows;
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= rows.size()) return;
    const app::VerificationTable::Row& row = rows[static_cast<std::size_t>(index.row())];
    emit documents_chosen(row.first_document, row.last_document);
  });
  connect(save_button, &QPushButton::clicked, this, &VerificationWindow::ask_save);
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
}

VerificationWindow::~VerificationWindow() = default;

void VerificationWindow::retranslate() {
  setWindowTitle(tr("Проверка архива"));
  findings_view->setAccessibleName(tr("Находки"));
  save_button->setText(tr("Сохранить"));
  save_button->setAccessibleName(save_button->text());
  close_button->setText(tr("Закрыть"));
  close_button->setAccessibleName(close_button->text());
  model_->retranslate();
  summary_label->setText(to_qstring(model_->table().summary));
}

void VerificationWindow::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::LanguageChange) retranslate();
}

void VerificationWindow::show_report(app::VerificationReport report) {
  report_ = std::move(report);
  model_->show_report(report_);
  summary_label->setText(to_qstring(model_->table().summary));
  if (!model_->table().rows.empty()) findings_view->setCurrentIndex(model_->index(0, 0));
  show();
  raise();
  activateWindow();
  findings_view->setFocus();
}

void VerificationWindow::ask_save() {
  auto* dialog = new QFileDialog(this, tr("Сохранить"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setNameFilters({tr("Текст (*.txt)")});
  dialog->setDefaultSuffix(QStringLiteral("txt"));
  connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
    const std::string path = QFile::encodeName(file).toStdString();
    if (!save(path))
      dialogs_.show_message(text::say(TALQEN_PHRASE("JournalWindow", "Невозможно записать файл %1"), {path}));
  });
  dialog->open();
}

bool VerificationWindow::save(const std::string& path) {
  std::string content;
  for (const std::string& line : report_.text_lines()) content += line + "\r\n";
  return text::replace_file(path, content);
}

}  // namespace ui
