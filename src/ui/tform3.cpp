#include "ui/tform3.hpp"

#include <filesystem>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "app/config_file.hpp"
#include "app/register_probe.hpp"
#include "link/serial_port.hpp"
#include "ui/qt_text.hpp"
#include "ui/tform53.hpp"
#include "ui/tform54.hpp"

#include "ui/designed_font.hpp"

namespace ui {

namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 280;
constexpr int kComboHeight = 21;

// "COM3, 57600 бод, Quendar": a line of the port, speed and variant for the status bar.
QString line_settings(const std::string& port, int speed, bool datecs) {
  return QString::fromStdString(port) + QStringLiteral(", ") + QString::number(speed) + QStringLiteral(" бод, ") +
         (datecs ? QStringLiteral("Datecs") : QStringLiteral("Quendar"));
}

}  // namespace

void ConnectionIndicator::set_connected(bool connected) {
  connected_ = connected;
  update();
}

void ConnectionIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(connected_ ? QColor(0, 255, 0) : QColor(255, 0, 0));  // lime, red
  p.setPen(Qt::black);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

// The main window as the connection procedure sees it.
class TForm3::WidgetView final : public app::MainWindowView {
 public:
  explicit WidgetView(TForm3& w) : w_(w) {}
  std::string port_text() const override { return from_qstring(w_.ComboBox1->currentText()); }
  std::string speed_text() const override { return from_qstring(w_.ComboBox2->currentText()); }
  bool datecs_selected() const override { return w_.RadioButton1->isChecked(); }
  void set_indicator_connected(bool connected) override { w_.Shape1->set_connected(connected); }
  void set_connect_caption(std::string_view caption) override { w_.Button3->setText(to_qstring(caption)); }
  void set_port_boxes_enabled(bool enabled) override {
    w_.ComboBox1->setEnabled(enabled);
    w_.ComboBox2->setEnabled(enabled);
    w_.Button4->setEnabled(enabled);  // the port is in use while connected
  }
  void set_variant_buttons_enabled(bool enabled) override {
    w_.RadioButton1->setEnabled(enabled);
    w_.RadioButton2->setEnabled(enabled);
  }
  void set_journal_menu_enabled(bool enabled) override { w_.N2->menuAction()->setEnabled(enabled); }
  void set_status_text(std::string_view text) override { w_.StatusBar1->setText(to_qstring(text)); }

 private:
  TForm3& w_;
};

TForm3::TForm3(messages::ConsoleState& console, messages::Dialogs& dialogs, device_link::Clock& clock)
    : console_(console), dialogs_(dialogs), clock_(clock), view_(std::make_unique<WidgetView>(*this)) {
  setFont(designed_font());
  setWindowTitle(QStringLiteral("Talqen"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMinimizeButtonHint);

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight - 20);
  setCentralWidget(client);

  GroupBox1 = new QGroupBox(QStringLiteral("Подключение к последовательному порту"), client);
  GroupBox1->setGeometry(16, 4, 513, 156);
  Label1 = new QLabel(QStringLiteral("&Последовательный порт:"), GroupBox1);
  Label1->move(92, 25);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->setEditable(true);
  ComboBox1->setGeometry(320, 18, 98, kComboHeight);
  for (const std::string& port : app::port_items()) ComboBox1->addItem(QString::fromStdString(port));
  // After COM1-COM20, the serial devices of this computer.
  for (const std::string& device : device_link::list_serial_ports()) ComboBox1->addItem(QString::fromStdString(device));
  Label1->setBuddy(ComboBox1);
  Label2 = new QLabel(QStringLiteral("&Скорость порта (бод):"), GroupBox1);
  Label2->move(92, 56);
  ComboBox2 = new QComboBox(GroupBox1);
  ComboBox2->setGeometry(320, 49, 98, kComboHeight);
  for (const std::string& speed : app::speed_items()) ComboBox2->addItem(QString::fromStdString(speed));
  Label2->setBuddy(ComboBox2);
  RadioButton1 = new QRadioButton(QStringLiteral("Datecs"), GroupBox1);
  RadioButton1->setGeometry(48, 104, 113, 17);
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton(QStringLiteral("Quendar"), GroupBox1);
  RadioButton2->setGeometry(48, 128, 113, 17);
  Shape1 = new ConnectionIndicator(GroupBox1);
  Shape1->setGeometry(324, 116, 65, 20);
  Shape1->setAccessibleName(QStringLiteral("Индикатор подключения"));
  Button3 = new QPushButton(QStringLiteral("Подключить"), GroupBox1);
  Button3->setGeometry(403, 116, 87, 20);
  Button4 = new QPushButton(QStringLiteral("Найти"), GroupBox1);
  Button4->setGeometry(403, 90, 87, 20);
  Button4->setToolTip(QStringLiteral("Найти порт, скорость и протокол регистратора"));
  Button1 = new QPushButton(QStringLiteral("Закрыть"), client);
  Button1->setGeometry(463, 232, 60, 20);

  StatusBar1 = new QLabel(this);
  statusBar()->addWidget(StatusBar1, 1);
  statusBar()->setSizeGripEnabled(false);

  N2 = menuBar()->addMenu(QStringLiteral("КЛЭФ"));
  N45 = N2->addAction(QStringLiteral("Вывод документов в электронном виде"));
  N2->menuAction()->setEnabled(false);
  N5 = menuBar()->addAction(QStringLiteral("О программе..."));

  connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm3::Button4Click);
  connect(Button1, &QPushButton::clicked, this, &QWidget::close);
  connect(N45, &QAction::triggered, this, &TForm3::N45Click);
  connect(N5, &QAction::triggered, this, &TForm3::N5Click);

  setFixedSize(sizeHint());
}

TForm3::~TForm3() = default;

void TForm3::attach(TForm54& about, TForm53& journal, messages::RetrievalFlags& journal_flags) {
  about_ = &about;
  journal_ = &journal;
  connection_.emplace(*view_, console_, journal_flags, dialogs_);
}

void TForm3::offer_port_first(const QString& port) {
  ComboBox1->insertItem(0, port);
  ComboBox1->setCurrentIndex(0);
}

bool TForm3::datecs_selected() const { return RadioButton1->isChecked(); }

std::vector<std::string> TForm3::port_box_items() const {
  std::vector<std::string> ports;
  for (int i = 0; i < ComboBox1->count(); ++i) ports.push_back(ComboBox1->itemText(i).toStdString());
  return ports;
}

void TForm3::FormActivate() {
  // A message box of this handler returns the activation to the window before the
  // handler ends: that activation is the handler's own and must not start it again.
  if (activating_) return;
  activating_ = true;
  Button1->setEnabled(false);
  Button3->setEnabled(false);
  N5->setEnabled(false);
  setWindowTitle(QStringLiteral("Тестирование USB устройств: Шаг ") + QString::number(1));
  clock_.sleep_ms(100);
  repaint();
  QCoreApplication::processEvents();
  clock_.sleep_ms(1000);
  setWindowTitle(QStringLiteral("Соединение с РРО"));

  std::error_code ec;
  app::fix_program_directory(console_, std::filesystem::current_path(ec).string());
  app::ensure_config_file(console_.ConfigPath, dialogs_);
  const app::StoredSelection stored = app::stored_port_and_speed(console_.ConfigPath, port_box_items());
  ComboBox1->setCurrentIndex(static_cast<int>(stored.port));
  ComboBox2->setCurrentIndex(static_cast<int>(stored.speed));

  Button1->setEnabled(true);
  Button3->setEnabled(true);
  N5->setEnabled(true);
  activating_ = false;
}

void TForm3::Button3Click() {
  if (connection_) connection_->Button3Click();
}

void TForm3::Button4Click() {
  Button3->setEnabled(false);
  Button4->setEnabled(false);
  app::RegisterProbe probe(device_link::make_platform_serial_port, device_link::system_clock());
  const auto found = probe.find(port_box_items(), [this](const app::ProbeAttempt& a) {
    StatusBar1->setText(QStringLiteral("Поиск: ") + line_settings(a.port, a.speed, a.datecs));
    // The window goes on taking clicks and painting between the attempts.
    dialogs_.process_pending_messages();
    return !closing_;  // the search ends with the program
  });
  Button3->setEnabled(true);
  Button4->setEnabled(true);
  if (!found) {
    StatusBar1->setText(QStringLiteral("Регистратор не найден"));
    return;
  }
  ComboBox1->setCurrentIndex(ComboBox1->findText(QString::fromStdString(found->port)));
  ComboBox2->setCurrentIndex(ComboBox2->findText(QString::number(found->speed)));
  (found->datecs ? RadioButton1 : RadioButton2)->setChecked(true);
  StatusBar1->setText(QStringLiteral("Найден: ") + line_settings(found->port, found->speed, found->datecs) +
                      QStringLiteral(". ") + to_qstring(found->identity).trimmed());
}

void TForm3::N45Click() {
  if (!journal_) return;
  hide();
  journal_->open();
}

void TForm3::N5Click() {
  if (about_) about_->open();
}

void TForm3::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TForm3::closeEvent(QCloseEvent* e) {
  // Closing the main window ends the program; an open port is left as it is.
  closing_ = true;
  QMainWindow::closeEvent(e);
  QCoreApplication::quit();
}

}  // namespace ui
