// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_box.hpp"

#include <QLabel>
#include <QPushButton>

#include "ui/designed_font.hpp"

namespace ui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setFont(designed_font());
  setWindowTitle(QStringLiteral("О программе"));
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(385, 145);
  setWindowModality(Qt::ApplicationModal);
  title_label = new QLabel(QStringLiteral("Talqen " TALQEN_VERSION " — электронная контрольная лента РРО"), this);
  title_label->setGeometry(24, 24, 345, 20);
  authors_label = new QLabel(QStringLiteral("Разработчики Talqen"), this);
  authors_label->setGeometry(24, 56, 345, 20);
  close_button = new QPushButton(QStringLiteral("Закрыть"), this);
  close_button->setGeometry(155, 100, 75, 25);
  connect(close_button, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ui
