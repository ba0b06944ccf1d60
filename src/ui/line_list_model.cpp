// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/line_list_model.hpp"

#include <QListView>

#include "ui/designed_font.hpp"
#include "ui/qt_text.hpp"

namespace ui {

namespace {

constexpr int kRowHeight = 14;
constexpr int kWidestLine = 80;  // characters, trailing blanks included

}  // namespace

void show_lines_in(QListView& view, LineListModel& model) {
  view.setFont(journal_font());
  view.setUniformItemSizes(true);
  view.setTextElideMode(Qt::ElideNone);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setModel(&model);
  model.set_row_size({view.fontMetrics().horizontalAdvance(QString(kWidestLine, QLatin1Char('0'))), kRowHeight});
}

void LineListModel::refresh() {
  beginResetModel();
  endResetModel();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(lines_.size(), INT_MAX));
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<std::size_t>(index.row()) >= lines_.size()) return {};
  if (role == Qt::DisplayRole) return to_qstring(lines_[static_cast<std::size_t>(index.row())]);
  if (role == Qt::SizeHintRole && row_size_.isValid()) return row_size_;
  return {};
}

}  // namespace ui
