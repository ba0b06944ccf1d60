#include "ui/line_list_model.hpp"

#include "ui/qt_text.hpp"

namespace ui {

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
