// SPDX-License-Identifier: GPL-3.0-or-later
// "Проверка архива": the findings of a verification of the archive window's selection as
// a table in words, findings first and notes after them, the summary as a sentence above;
// each row leads to its documents in the archive window (double click or Enter), and
// "Сохранить" writes the lines as `talqen-cli verify` prints them.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "app/verification_report.hpp"
#include "messages/dialogs.hpp"

class QLabel;
class QPushButton;
class QTableView;

namespace ui {

class VerificationTableModel;

class VerificationWindow final : public QDialog {
  Q_OBJECT

 public:
  VerificationWindow(messages::Dialogs& dialogs, QWidget* parent = nullptr);
  ~VerificationWindow() override;

  // Shows the report in place of the one before, and the window.
  void show_report(app::VerificationReport report);
  const app::VerificationReport& report() const { return report_; }
  const VerificationTableModel& model() const { return *model_; }
  // "Сохранить": a save dialog, then the lines written.
  void ask_save();
  // The lines written to path as "Сохранить" writes lines (Windows-1251, CR LF), atomically.
  bool save(const std::string& path);

  QLabel* summary_label;
  QTableView* findings_view;
  QPushButton* save_button;
  QPushButton* close_button;

 signals:
  // A finding was chosen: the documents it concerns.
  void documents_chosen(std::int32_t first, std::int32_t last);

 protected:
  void changeEvent(QEvent* e) override;

 private:
  void retranslate();

  messages::Dialogs& dialogs_;
  app::VerificationReport report_;
  std::unique_ptr<VerificationTableModel> model_;
};

}  // namespace ui
