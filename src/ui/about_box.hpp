// SPDX-License-Identifier: GPL-3.0-or-later
// The About box.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ui {

class AboutBox final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  QLabel* title_label;  // title and version
  QLabel* authors_label;  // author
  QLabel* license_label;  // the program's license
  QLabel* libraries_label;  // the libraries built in, with their versions and licenses
  QPushButton* close_button;

 protected:
  void changeEvent(QEvent* e) override;

 private:
  void retranslate();
  static QString library_list();
};

}  // namespace ui
