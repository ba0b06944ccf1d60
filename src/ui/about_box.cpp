// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_box.hpp"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QtGlobal>

#include "app/linked_libraries.hpp"

#include "ui/designed_font.hpp"

namespace ui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setFont(designed_font());
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(385, 265);
  setWindowModality(Qt::ApplicationModal);
  title_label = new QLabel(this);
  title_label->setGeometry(24, 24, 345, 20);
  authors_label = new QLabel(this);
  authors_label->setGeometry(24, 48, 345, 20);
  license_label = new QLabel(this);
  license_label->setGeometry(24, 76, 345, 48);
  license_label->setWordWrap(true);
  libraries_label = new QLabel(this);
  libraries_label->setGeometry(24, 130, 345, 84);
  libraries_label->setWordWrap(true);
  libraries_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  close_button = new QPushButton(this);
  close_button->setGeometry(155, 225, 75, 25);
  connect(close_button, &QPushButton::clicked, this, &QDialog::accept);
  retranslate();
}

void AboutBox::retranslate() {
  setWindowTitle(tr("О программе"));
  title_label->setText(tr("Talqen %1 — электронная контрольная лента РРО").arg(QStringLiteral(TALQEN_VERSION)));
  authors_label->setText(tr("Разработчики Talqen"));
  license_label->setText(
      tr("Свободная программа: GNU General Public License, версия 3 или (по вашему выбору) более поздняя (%1)")
          .arg(QString::fromLatin1(app::kProgramLicense)));
  libraries_label->setText(tr("Библиотеки: %1").arg(library_list()));
  close_button->setText(tr("Закрыть"));
}

QString AboutBox::library_list() {
  // Qt's own version is the one the program runs with; the rest come from below the windows.
  QStringList names{QStringLiteral("Qt %1 (LGPL-3.0-only)").arg(QString::fromLatin1(qVersion()))};
  for (const app::LinkedLibrary& library : app::linked_libraries())
    names << QStringLiteral("%1 %2 (%3)")
                 .arg(QString::fromStdString(library.name), QString::fromStdString(library.version),
                      QString::fromStdString(library.license));
  return names.join(QStringLiteral(", "));
}

void AboutBox::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::LanguageChange) retranslate();
}

}  // namespace ui
