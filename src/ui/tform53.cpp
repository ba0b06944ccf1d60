#include "ui/tform53.hpp"

#include <exception>

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "ui/line_list_model.hpp"
#include "ui/masked_field.hpp"
#include "ui/qt_text.hpp"
#include "ui/tform4.hpp"

#include "ui/designed_font.hpp"

namespace ui {

namespace {

constexpr int kRowHeight = 14;
constexpr int kWidestLine = 80;  // characters, trailing blanks included

QLabel* label(const QString& text, QWidget* parent, int left, int top, QWidget* names) {
  auto* l = new QLabel(text, parent);
  l->move(left, top);
  l->setBuddy(names);
  return l;
}

QLineEdit* edit(QWidget* parent, int left, int top, int width, int height) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(left, top, width, height);
  return e;
}

QLineEdit* masked(QWidget* parent, int left, int top, int width, const char* mask, const QString& hint) {
  QLineEdit* e = edit(parent, left, top, width, 21);
  e->setInputMask(QString::fromLatin1(mask));
  e->setToolTip(hint);
  return e;
}

QPushButton* button(const QString& text, QWidget* parent, int left, int top, int width) {
  auto* b = new QPushButton(text, parent);
  // The designed width, or more where this platform's font needs it for the caption.
  b->setGeometry(left, top, std::max(width, b->sizeHint().width()), 25);
  return b;
}

}  // namespace

TForm53::TForm53(messages::ConsoleState& console, messages::Dialogs& dialogs, TForm4& attention,
                 QWidget& main_window, std::function<bool()> datecs_selected, device_link::Clock& clock,
                 std::string temp_xml_path)
    : main_window_(main_window),
      dialogs_(dialogs),
      window_({console, dialogs, attention, *this, std::move(datecs_selected), clock}, std::move(temp_xml_path)),
      lines_(std::make_unique<LineListModel>(window_.ListBox2)) {
  setFont(designed_font());
  setWindowTitle(QStringLiteral("Форма запроса и отображения данных"));
  setWindowModality(Qt::ApplicationModal);
  setGeometry(414, 125, 833, 638);
  setFixedSize(833, 638);
  attention.set_cancel_action([this] { window_.RequestStop(); });

  ListBox2 = new QListView(this);
  ListBox2->setGeometry(24, 8, 473, 569);
  ListBox2->setFont(QFont(QStringLiteral("Courier New"), 8));
  ListBox2->setUniformItemSizes(true);
  ListBox2->setTextElideMode(Qt::ElideNone);
  ListBox2->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListBox2->setModel(lines_.get());
  lines_->set_row_size({ListBox2->fontMetrics().horizontalAdvance(QString(kWidestLine, QLatin1Char('0'))), kRowHeight});
  ListBox2->setAccessibleName(QStringLiteral("Документы"));

  GroupBox1 = new QGroupBox(QStringLiteral("по номерам"), this);
  GroupBox1->setGeometry(520, 24, 281, 201);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->setEditable(true);
  ComboBox1->setGeometry(16, 48, 145, 21);
  ComboBox1->addItems({QStringLiteral("Z-отчет"), QStringLiteral("Чек"), QStringLiteral("Чек+Z-отчет")});
  Label1 = label(QStringLiteral("&Тип документа"), GroupBox1, 16, 24, ComboBox1);
  Edit3 = edit(GroupBox1, 16, 88, 121, 21);
  Label4 = label(QStringLiteral("П&ароль"), GroupBox1, 19, 72, Edit3);
  Edit1 = edit(GroupBox1, 16, 128, 121, 21);
  Label2 = label(QStringLiteral("&Начальный номер"), GroupBox1, 16, 112, Edit1);
  Edit2 = edit(GroupBox1, 16, 176, 121, 21);
  Label3 = label(QStringLiteral("&Конечный номер"), GroupBox1, 16, 152, Edit2);
  Button1 = button(QStringLiteral("Получить"), GroupBox1, 198, 32, 75);
  Button6 = button(QStringLiteral("Печать на РРО"), GroupBox1, 184, 128, 89);

  GroupBox2 = new QGroupBox(QStringLiteral("по датам"), this);
  GroupBox2->setGeometry(520, 248, 281, 185);
  Button4 = button(QStringLiteral("Получить"), GroupBox2, 182, 16, 75);
  Button5 = button(QStringLiteral("Вернуть номера"), GroupBox2, 168, 48, 89);
  Edit4 = masked(GroupBox2, 24, 104, 118, kDateMask, QStringLiteral("дд.мм.гг"));
  Label5 = label(QStringLiteral("Н&ачальная дата"), GroupBox2, 24, 76, Edit4);
  Edit5 = masked(GroupBox2, 24, 152, 118, kDateMask, QStringLiteral("дд.мм.гг"));
  Label6 = label(QStringLiteral("Ко&нечная дата"), GroupBox2, 23, 132, Edit5);
  Edit6 = masked(GroupBox2, 184, 104, 71, kTimeMask, QStringLiteral("чч:мм"));
  Label7 = label(QStringLiteral("&Время"), GroupBox2, 192, 80, Edit6);
  Edit7 = masked(GroupBox2, 184, 144, 72, kTimeMask, QStringLiteral("чч:мм"));
  Edit7->setAccessibleName(QStringLiteral("Конечное время"));

  Button3 = button(QStringLiteral("Сохранить"), this, 720, 456, 75);
  Button2 = button(QStringLiteral("Закрыть"), this, 720, 504, 75);

  connect(ComboBox1, &QComboBox::activated, this, [this] { run([this] { window_.ComboBox1Change(); }); });
  connect(Button1, &QPushButton::clicked, this, [this] { run([this] { window_.Button1Click(); }); });
  connect(Button4, &QPushButton::clicked, this, [this] { run([this] { window_.Button4Click(); }); });
  connect(Button5, &QPushButton::clicked, this, [this] { run([this] { window_.Button5Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { run([this] { window_.Button3Click(); }); });
  connect(Button6, &QPushButton::clicked, this, [this] { run([this] { window_.Button6Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { run([this] { window_.Button2Click(); }); });

  window_.FormCreate();
  push();
}

TForm53::~TForm53() = default;

void TForm53::pull() {
  window_.ComboBox1 = ComboBox1->findText(ComboBox1->currentText(), Qt::MatchExactly);
  window_.Edit1 = from_qstring(Edit1->text());
  window_.Edit2 = from_qstring(Edit2->text());
  window_.Edit3 = from_qstring(Edit3->text());
  window_.Edit4 = MaskedFieldText(Edit4->displayText().toStdString(), '.');
  window_.Edit5 = MaskedFieldText(Edit5->displayText().toStdString(), '.');
  window_.Edit6 = MaskedFieldText(Edit6->displayText().toStdString(), ':');
  window_.Edit7 = MaskedFieldText(Edit7->displayText().toStdString(), ':');
}

void TForm53::push() {
  if (window_.ComboBox1 >= 0) ComboBox1->setCurrentIndex(window_.ComboBox1);
  Edit1->setText(to_qstring(window_.Edit1));
  Edit2->setText(to_qstring(window_.Edit2));
  Edit3->setText(to_qstring(window_.Edit3));
  Edit4->setText(to_qstring(window_.Edit4));
  Edit5->setText(to_qstring(window_.Edit5));
  Edit6->setText(to_qstring(window_.Edit6));
  Edit7->setText(to_qstring(window_.Edit7));
  lines_->refresh();
}

template <class Handler>
void TForm53::run(Handler handler) {
  pull();
  try {
    handler();
  } catch (const std::exception& e) {
    // What a handler lets through (a number field that holds no number) is reported as
    // the program reports any failure, and the window goes on.
    dialogs_.show_message(text::from_utf8(e.what()));
  }
  push();
}

void TForm53::closeEvent(QCloseEvent* e) {
  window_.FormClose();
  QDialog::closeEvent(e);
}

void TForm53::show_request_window() { QDialog::show(); }
void TForm53::hide_request_window() { QDialog::hide(); }
void TForm53::close_request_window() { QDialog::close(); }
void TForm53::show_main_window() { main_window_.show(); }

}  // namespace ui
