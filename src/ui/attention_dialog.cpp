// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/attention_dialog.hpp"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/qt_text.hpp"
#include "ui/ui_thread.hpp"

#include "ui/designed_font.hpp"

namespace ui {

AttentionDialog::AttentionDialog(QWidget* parent) : QDialog(parent) {
  setFont(designed_font());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setGeometry(270, 217, 472, 279);
  setFixedSize(472, 279);
  QFont big = font();
  big.setPointSize(12);
  activity_label = new QLabel(this);
  activity_label->setFont(big);
  activity_label->setGeometry(96, 96, 360, 24);
  progress_label = new QLabel(this);
  progress_label->setFont(big);
  progress_label->setGeometry(176, 168, 280, 24);
  progress_bar = new QProgressBar(this);
  progress_bar->setGeometry(96, 200, 280, 18);
  progress_bar->setRange(0, 100);
  progress_bar->setValue(0);
  cancel_button = new QPushButton(tr("Отмена"), this);
  cancel_button->setGeometry(198, 234, 75, 25);
  connect(cancel_button, &QPushButton::clicked, this, &AttentionDialog::cancel);
}

void AttentionDialog::cancel() {
  // A press that lands after the retrieval hid the window must not stop the next one.
  if (isVisible() && cancel_) cancel_();
}

void AttentionDialog::set_caption(std::string_view caption) {
  on_ui_thread([&] { setWindowTitle(to_qstring(caption)); });
}
void AttentionDialog::set_activity(std::string_view text) {
  on_ui_thread([&] { activity_label->setText(to_qstring(text)); });
}
void AttentionDialog::set_progress(std::string_view text) {
  // The bar shows the text's own figure ("36.36%     5": 36), set in the same step, so
  // that no moment shows two figures.
  const QString shown = to_qstring(text);
  bool figure_read = false;
  const double percent = shown.section(QLatin1Char('%'), 0, 0).trimmed().toDouble(&figure_read);
  on_ui_thread([&] {
    progress_label->setText(shown);
    if (figure_read) progress_bar->setValue(static_cast<int>(percent));
  });
}

void AttentionDialog::show() {
  on_ui_thread([this] {
    progress_bar->setValue(0);
    QDialog::show();
    raise();
    activateWindow();
    cancel_button->setFocus();  // Space and Enter press it
    QWidget::repaint();
  });
}

void AttentionDialog::hide() {
  on_ui_thread([this] { QDialog::hide(); });
}

void AttentionDialog::repaint() {
  on_ui_thread([this] { QWidget::repaint(); });
}

bool AttentionDialog::is_active() const {
  return on_ui_thread([this] { return isActiveWindow(); });
}

bool AttentionDialog::event(QEvent* e) {
  // Painted at once whenever it becomes active.
  if (e->type() == QEvent::WindowActivate) QWidget::repaint();
  if (e->type() == QEvent::LanguageChange) cancel_button->setText(tr("Отмена"));
  return QDialog::event(e);
}

}  // namespace ui
