// SPDX-License-Identifier: GPL-3.0-or-later
// The rendered lines as rows of a list view: converted for display only when a row is
// shown, all rows of one height, so that a million lines cost no more than a screenful.
#pragma once

#include <QAbstractListModel>
#include <QSize>

#include "render/packed_lines.hpp"

class QListView;

namespace ui {

class LineListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  LineListModel(const render::PackedLines& lines, QObject* parent = nullptr)
      : QAbstractListModel(parent), lines_(lines) {}

  // The lines have changed.
  void refresh();
  void set_row_size(QSize size) { row_size_ = size; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const render::PackedLines& lines_;
  QSize row_size_;
};

// Sets the view up as the journal window shows its lines: the journal's fixed-pitch face,
// read-only rows all the size of the widest line, the model.
void show_lines_in(QListView& view, LineListModel& model);

}  // namespace ui
