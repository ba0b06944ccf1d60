// The About box.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ui {

class TForm54 final : public QDialog {
  Q_OBJECT

 public:
  explicit TForm54(QWidget* parent = nullptr);

  QLabel* Label1;  // title and version
  QLabel* Label2;  // author
  QPushButton* Button1;
};

}  // namespace ui
