// SPDX-License-Identifier: GPL-3.0-or-later
// The verification's table (app::VerificationTable) as rows of a table view: notes in
// the quieter colour and slant of a hint, the words made anew in the program's language
// whenever the report or the language changes.
#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include "app/verification_table.hpp"

namespace ui {

class VerificationTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit VerificationTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // The report's rows in place of the ones before.
  void show_report(const app::VerificationReport& report);
  // The same report's words again, in the language now installed.
  void retranslate();
  const app::VerificationTable& table() const { return table_; }
  // The view's face, which the notes take slanted.
  void set_font(const QFont& font) {
    note_font_ = font;
    note_font_.setItalic(true);
  }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const app::VerificationReport* report_ = nullptr;
  app::VerificationTable table_;
  QFont note_font_;
};

}  // namespace ui
