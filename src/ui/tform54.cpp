#include "ui/tform54.hpp"

#include <QLabel>
#include <QPushButton>

#include "ui/designed_font.hpp"

namespace ui {

TForm54::TForm54(QWidget* parent) : QDialog(parent) {
  setFont(designed_font());
  setWindowTitle(QStringLiteral("О программе"));
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(385, 145);
  setWindowModality(Qt::ApplicationModal);
  Label1 = new QLabel(QStringLiteral("Talqen " TALQEN_VERSION " — электронная контрольная лента РРО"), this);
  Label1->setGeometry(24, 24, 345, 20);
  Label2 = new QLabel(QStringLiteral("Разработчики Talqen"), this);
  Label2->setGeometry(24, 56, 345, 20);
  Button1 = new QPushButton(QStringLiteral("Закрыть"), this);
  Button1->setGeometry(155, 100, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ui
