// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/verification_table_model.hpp"

#include <QApplication>
#include <QPalette>

#include "ui/qt_text.hpp"

namespace ui {

void VerificationTableModel::show_report(const app::VerificationReport& report) {
  report_ = &report;
  retranslate();
}

void VerificationTableModel::retranslate() {
  beginResetModel();
  table_ = report_ ? app::verification_table(*report_) : app::VerificationTable{};
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, app::VerificationTable::kColumns - 1);
}

int VerificationTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int VerificationTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(app::VerificationTable::kColumns);
}

QVariant VerificationTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const app::VerificationTable::Row& row = table_.rows[static_cast<std::size_t>(index.row())];
  const auto column = static_cast<app::VerificationTable::Column>(index.column());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      if (role == Qt::ToolTipRole && column != app::VerificationTable::What) return {};
      return to_qstring(row.cells[column]);
    case Qt::TextAlignmentRole:
      // Figures line up on the right, as in a ledger.
      return column == app::VerificationTable::What ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                    : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (row.note) return QApplication::palette().color(QPalette::PlaceholderText);
      return {};
    case Qt::FontRole:
      if (row.note) return note_font_;
      return {};
    default: return {};
  }
}

QVariant VerificationTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return to_qstring(app::column_title(static_cast<app::VerificationTable::Column>(section)));
}

}  // namespace ui
