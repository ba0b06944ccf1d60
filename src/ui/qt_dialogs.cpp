// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_dialogs.hpp"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/qt_text.hpp"

namespace ui {

namespace {

QMessageBox::StandardButton ask(std::string_view caption, std::string_view text, QMessageBox::StandardButtons buttons,
                                QMessageBox::Icon icon) {
  QMessageBox box(icon, to_qstring(caption), to_qstring(text), buttons, QApplication::activeWindow());
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtDialogs::show_message(std::string_view text) {
  show_captioned_message(from_qstring(kApplicationTitle), text);
}

void QtDialogs::show_captioned_message(std::string_view caption, std::string_view text) {
  ask(caption, text, QMessageBox::Ok, QMessageBox::NoIcon);
}

bool QtDialogs::ask_retry_cancel(std::string_view caption, std::string_view text) {
  return ask(caption, text, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Warning) == QMessageBox::Retry;
}

bool QtDialogs::ask_yes_no(std::string_view caption, std::string_view text) {
  return ask(caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::ask_save_path(std::string_view filter, std::string_view proposed_name,
                                                    std::string_view default_extension) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(to_qstring(filter));
  dialog.setDefaultSuffix(to_qstring(default_extension));
  dialog.selectFile(to_qstring(proposed_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // A path for the file system, not a text of the journal: in the platform's encoding.
  return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

void QtDialogs::process_pending_messages() { QCoreApplication::processEvents(); }

}  // namespace ui
