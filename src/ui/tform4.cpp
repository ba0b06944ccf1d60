#include "ui/tform4.hpp"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/qt_text.hpp"

#include "ui/designed_font.hpp"

namespace ui {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setFont(designed_font());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setGeometry(270, 217, 472, 279);
  setFixedSize(472, 279);
  QFont big = font();
  big.setPointSize(12);
  Label1 = new QLabel(this);
  Label1->setFont(big);
  Label1->setGeometry(96, 96, 360, 24);
  Label2 = new QLabel(this);
  Label2->setFont(big);
  Label2->setGeometry(176, 168, 280, 24);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setGeometry(96, 200, 280, 18);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
  CancelButton->setGeometry(198, 234, 75, 25);
  connect(CancelButton, &QPushButton::clicked, this, [this] {
    if (cancel_) cancel_();
  });
}

void TForm4::set_caption(std::string_view caption) { setWindowTitle(to_qstring(caption)); }
void TForm4::set_activity(std::string_view text) { Label1->setText(to_qstring(text)); }
void TForm4::set_progress(std::string_view text) { Label2->setText(to_qstring(text)); }

void TForm4::show() {
  ProgressBar1->setValue(0);
  QDialog::show();
  raise();
  activateWindow();
  repaint();
}

void TForm4::hide() { QDialog::hide(); }

void TForm4::repaint() {
  QWidget::update();
  QWidget::repaint();
}

void TForm4::progress_made(const retrieval::RetrievalProgress& p) {
  const std::int64_t total = p.last - p.first + 1;
  ProgressBar1->setValue(total > 0 ? static_cast<int>(p.documents_done * 100 / total) : 100);
}

bool TForm4::event(QEvent* e) {
  // Painted at once whenever it becomes active.
  if (e->type() == QEvent::WindowActivate) repaint();
  return QDialog::event(e);
}

}  // namespace ui
