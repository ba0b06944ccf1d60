// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_box.hpp"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/designed_font.hpp"

namespace ui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setFont(designed_font());
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(385, 145);
  setWindowModality(Qt::ApplicationModal);
  title_label = new QLabel(this);
  title_label->setGeometry(24, 24, 345, 20);
  authors_label = new QLabel(this);
  authors_label->setGeometry(24, 56, 345, 20);
  close_button = new QPushButton(this);
  close_button->setGeometry(155, 100, 75, 25);
  connect(close_button, &QPushButton::clicked, this, &QDialog::accept);
  retranslate();
}

void AboutBox::retranslate() {
  setWindowTitle(tr("О программе"));
  title_label->setText(tr("Talqen %1 — электронная контрольная лента РРО").arg(QStringLiteral(TALQEN_VERSION)));
  authors_label->setText(tr("Разработчики Talqen"));
  close_button->setText(tr("Закрыть"));
}

void AboutBox::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::LanguageChange) retranslate();
}

}  // namespace ui
