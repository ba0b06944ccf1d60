// SPDX-License-Identifier: GPL-3.0-or-later
// "Проверка архива": the findings of a verification of the archive window's selection,
// the summary line above them; each line leads to its documents in the archive window
// (double click or Enter), and "Сохранить" writes the lines as `talqen-cli verify`
// prints them.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "app/verification_report.hpp"
#include "messages/dialogs.hpp"
#include "render/packed_lines.hpp"

class QLabel;
class QListView;
class QPushButton;

namespace ui {

class LineListModel;

class VerificationWindow final : public QDialog {
  Q_OBJECT

 public:
  VerificationWindow(messages::Dialogs& dialogs, QWidget* parent = nullptr);
  ~VerificationWindow() override;

  // Shows the report in place of the one before, and the window.
  void show_report(app::VerificationReport report);
  const app::VerificationReport& report() const { return report_; }
  // "Сохранить": a save dialog, then the lines written.
  void ask_save();
  // The lines written to path as "Сохранить" writes lines (Windows-1251, CR LF), atomically.
  bool save(const std::string& path);

  QLabel* summary_label;
  QListView* findings_view;
  QPushButton* save_button;
  QPushButton* close_button;

 signals:
  // A finding was chosen: the documents it concerns.
  void documents_chosen(std::int32_t first, std::int32_t last);

 private:
  messages::Dialogs& dialogs_;
  app::VerificationReport report_;
  render::PackedLines lines_;  // the findings as the list shows them
  std::unique_ptr<LineListModel> model_;
};

}  // namespace ui
