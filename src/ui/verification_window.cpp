// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/verification_window.hpp"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/atomic_file.hpp"
#include "text/cp1251.hpp"
#include "ui/designed_font.hpp"
#include "ui/line_list_model.hpp"
#include "ui/qt_text.hpp"

using namespace text::literals;

namespace ui {

namespace {

// A tab of the command line's lines as the list shows it.
std::string shown(std::string line) {
  for (std::size_t at = line.find('\t'); at != std::string::npos; at = line.find('\t', at))
    line.replace(at, 1, "  ");
  return line;
}

}  // namespace

VerificationWindow::VerificationWindow(messages::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), model_(std::make_unique<LineListModel>(lines_)) {
  setFont(designed_font());
  setWindowTitle(QStringLiteral("Проверка архива"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMinMaxButtonsHint);
  resize(860, 420);
  summary_label = new QLabel(this);
  summary_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  findings_view = new QListView(this);
  findings_view->setAccessibleName(QStringLiteral("Находки"));
  show_lines_in(*findings_view, *model_);
  save_button = new QPushButton(QStringLiteral("Сохранить"), this);
  save_button->setAccessibleName(QStringLiteral("Сохранить"));
  save_button->setAutoDefault(false);
  close_button = new QPushButton(QStringLiteral("Закрыть"), this);
  close_button->setAccessibleName(QStringLiteral("Закрыть"));
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

  // Enter and a double click both activate a line.
  connect(findings_view, &QListView::activated, this, [this](const QModelIndex& index) {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= report_.findings.size()) return;
    const app::VerificationReport::Line& line = report_.findings[static_cast<std::size_t>(index.row())];
    emit documents_chosen(line.first_document, line.last_document);
  });
  connect(save_button, &QPushButton::clicked, this, &VerificationWindow::ask_save);
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
}

VerificationWindow::~VerificationWindow() = default;

void VerificationWindow::show_report(app::VerificationReport report) {
  report_ = std::move(report);
  lines_.clear();
  for (const app::VerificationReport::Line& line : report_.findings) lines_.push_back(shown(line.text));
  model_->refresh();
  summary_label->setText(to_qstring(shown(report_.summary_line)));
  if (!report_.findings.empty()) findings_view->setCurrentIndex(model_->index(0, 0));
  show();
  raise();
  activateWindow();
  findings_view->setFocus();
}

void VerificationWindow::ask_save() {
  auto* dialog = new QFileDialog(this, QStringLiteral("Сохранить"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setNameFilters({QStringLiteral("Текст (*.txt)")});
  dialog->setDefaultSuffix(QStringLiteral("txt"));
  connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
    const std::string path = QFile::encodeName(file).toStdString();
    if (!save(path)) dialogs_.show_message(std::string("Невозможно записать файл "_cp1251) + path);
  });
  dialog->open();
}

bool VerificationWindow::save(const std::string& path) {
  std::string content;
  for (const std::string& line : report_.text_lines()) content += line + "\r\n";
  return text::replace_file(path, content);
}

}  // namespace ui
