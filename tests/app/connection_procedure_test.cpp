// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/connection_procedure.hpp"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "app/config_file.hpp"
#include "app/profile_file.hpp"
#include "link/abort.hpp"
#include "link/datecs.hpp"
#include "link/frame.hpp"
#include "link/quendar.hpp"
#include "support/fake_serial_port.hpp"
#include "support/scripted_dialogs.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace app;
using namespace device_link;
using namespace text::literals;
using testing_support::FakeSerialPort;
using testing_support::read_file;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::VirtualClock;

class FakeView final : public MainWindowView {
 public:
  std::string port_text() const override { return port; }
  std::string speed_text() const override { return speed; }
  bool datecs_selected() const override { return datecs; }
  void set_indicator_connected(bool c) override { lime = c; }
  void set_connect_caption(std::string_view c) override { caption = c; }
  void set_port_boxes_enabled(bool e) override { boxes_enabled = e; }
  void set_variant_buttons_enabled(bool e) override { radios_enabled = e; }
  void set_journal_menu_enabled(bool e) override { menu_enabled = e; }
  void set_status_text(std::string_view t) override { status = t; }

  std::string port = "COM4", speed = "19200";
  bool datecs = true;
  bool lime = false, boxes_enabled = true, radios_enabled = true, menu_enabled = false;
  std::string caption, status;
};

enum class Register { Datecs, Quendar, QuendarService, Silent, QuendarWrongPassword };

// Both program drivers on fake ports answered by one simulated register.
struct Rig {
  explicit Rig(Register kind) : quendar_port(clock), datecs_port(clock) {
    const auto answer = [kind](const std::string& frame) -> std::string {
      const auto r = parse_request_frame(frame);
      std::array<std::uint8_t, 6> st = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
      switch (kind) {
        case Register::Silent: return "";
        case Register::Datecs:
          return build_reply_frame(kDatecsPolicy, r->sequence, r->command, "",
                                   "ECR-7 1.01 01Jan24 1200,FFFF,00,SN0042,00000000", st);
        case Register::QuendarService: st[0] = 0x81; [[fallthrough]];
        case Register::Quendar:
          return build_reply_frame(kQuendarPolicy, r->sequence, r->command, "0000", "Q-MODEL;2.05;X;", st);
        case Register::QuendarWrongPassword:
          return build_reply_frame(kQuendarPolicy, r->sequence, r->command, "0006", "", st);
      }
      return "";
    };
    quendar_port.responder = answer;
    datecs_port.responder = answer;
    quendar::set_program_driver(&quendar_driver);
    datecs::set_program_driver(&datecs_driver);
    fix_program_directory(program, dir.path().string());
    config = program.config_path;
    ensure_config_file(config, dialogs);
    dialogs.messages.clear();
  }
  ~Rig() {
    quendar::set_program_driver(nullptr);
    datecs::set_program_driver(nullptr);
  }

  TempDir dir;
  std::string config;
  VirtualClock clock;
  FakeSerialPort quendar_port, datecs_port;
  ProtocolDriver quendar_driver{kQuendarPolicy, quendar_port, clock, &quendar::program_log()};
  ProtocolDriver datecs_driver{kDatecsPolicy, datecs_port, clock};
  ScriptedDialogs dialogs;
  messages::ProgramState program;
  messages::RetrievalFlags flags;
  FakeView view;
  ConnectionProcedure procedure{view, program, flags, dialogs};
};

TEST(Connection, PassedChecksShowTheRegisterAndStoreThePort) {
  struct Case { Register kind; bool datecs; std::string status; };
  const Case cases[] = {
      {Register::Datecs, true, "ECR-7    SN0042"},
      {Register::Quendar, false, std::string("   Модель:Q-MODEL,    Версия:2.05,     X."_cp1251)},
      {Register::QuendarService, false, std::string("   Модель:Q-MODEL,    Версия:2.05,     X. Сервис.реж."_cp1251)},
  };
  for (const Case& c : cases) {
    Rig rig(c.kind);
    rig.view.datecs = c.datecs;
    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::Connected);
    EXPECT_EQ(rig.view.status, c.status);
    EXPECT_TRUE(rig.view.lime);
    EXPECT_TRUE(rig.view.menu_enabled);
    EXPECT_FALSE(rig.view.boxes_enabled);
    EXPECT_FALSE(rig.view.radios_enabled);
    EXPECT_EQ(rig.view.caption, "Отключить"_cp1251);
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(read_profile_text(rig.config, "Communication", "Port", "", 9), "COM4");
    EXPECT_EQ(read_profile_text(rig.config, "Communication", "Speed", "", 9), "19200");
    EXPECT_EQ((c.datecs ? rig.datecs_port : rig.quendar_port).opened_speed, 19200);

    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::Disconnected);
    EXPECT_FALSE(rig.view.lime);
    EXPECT_TRUE(rig.view.boxes_enabled);
    EXPECT_TRUE(rig.view.radios_enabled);
    EXPECT_FALSE(rig.view.menu_enabled);
    EXPECT_EQ(rig.view.status, "");
    EXPECT_EQ(rig.view.caption, "Подключить"_cp1251);
  }
}

TEST(Connection, FailedChecksCloseThePortAndLeaveTheFileUnchanged) {
  const std::string wrong = std::string("Подключения нет. Возможно использование не того протокола обмена данными"_cp1251);
  const std::string check = std::string("Проверка состояния регистратора:\n  "_cp1251);
  struct Case { const char* what; Register kind; bool datecs; std::vector<std::string> messages; };
  const Case cases[] = {
      {"quendar client, datecs register", Register::Datecs, false,
       {check + std::string("Ошибка протокола"_cp1251)}},
      {"quendar, silent register", Register::Silent, false,
       {check + std::string("Таймаут устройства! Ошибка!"_cp1251)}},
      {"datecs client, quendar register", Register::Quendar, true, {}},
      {"datecs, silent register", Register::Silent, true, {std::string("Таймаут"_cp1251)}},
      {"quendar, wrong password", Register::QuendarWrongPassword, false,
       {check + std::string("Неверный пароль доступа!"_cp1251)}},
  };
  for (const Case& c : cases) {
    Rig rig(c.kind);
    rig.view.datecs = c.datecs;
    const std::string before = read_file(rig.config);
    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::CheckFailed) << c.what;
    EXPECT_EQ(rig.view.status, wrong) << c.what;
    EXPECT_EQ(rig.dialogs.messages, c.messages) << c.what;
    EXPECT_FALSE(rig.view.lime) << c.what;
    EXPECT_TRUE(rig.view.radios_enabled) << c.what;
    EXPECT_FALSE(rig.procedure.connected());
    EXPECT_FALSE((c.datecs ? rig.datecs_port : rig.quendar_port).is_open()) << c.what;
    EXPECT_EQ(read_file(rig.config), before) << c.what;
  }
}

TEST(Connection, PortThatCannotBeOpenedChangesNothingAndSaysWhy) {
  const std::string cannot("Невозможно подключить порт"_cp1251);
  const std::string busy("COM4: занят другой программой"_cp1251);
  struct Case { std::string reason, message; };
  for (const Case& c : {Case{"", cannot}, Case{busy, cannot + "\n" + busy}}) {
    Rig rig(Register::Datecs);
    rig.datecs_port.fail_open = true;
    rig.datecs_port.open_failure = c.reason;
    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::PortNotOpened);
    EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{c.message});
    EXPECT_FALSE(rig.view.lime);
    EXPECT_EQ(rig.view.caption, "");
  }
}

TEST(Connection, AnAbortWhileConnectingEndsTheCheckAtOnceWithoutAMessage) {
  for (const bool datecs : {true, false}) {
    Rig rig(Register::Silent);
    rig.view.datecs = datecs;
    rig.quendar_driver.set_reply_count(3);
    (datecs ? rig.datecs_port : rig.quendar_port).endless_source = [](std::uint8_t&) {
      device_link::request_abort();
      return false;
    };
    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::CheckFailed) << datecs;
    device_link::clear_abort();
    EXPECT_LE(rig.clock.now_ms(), device_link::kReadTimeoutMs) << datecs;
    EXPECT_TRUE(rig.dialogs.messages.empty()) << datecs;
    EXPECT_FALSE((datecs ? rig.datecs_port : rig.quendar_port).is_open());
  }
}

TEST(Connection, FailedCloseAfterAFailedCheck) {
  // Datecs goes on as after a passed check; Quendar stays shown as connected, file untouched.
  for (bool datecs : {true, false}) {
    Rig rig(datecs ? Register::Quendar : Register::Datecs);
    rig.view.datecs = datecs;
    (datecs ? rig.datecs_port : rig.quendar_port).fail_close = true;
    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::StuckOpen);
    EXPECT_TRUE(rig.view.lime);
    EXPECT_EQ(read_profile_text(rig.config, "Communication", "Port", "", 9), datecs ? "COM4" : "");
  }
}

TEST(Connection, ReplyCountComesFromTheFile) {
  Rig rig(Register::Silent);
  write_profile_text(rig.config, "Fiscal Printer", "Reply", "0");
  rig.view.datecs = false;
  rig.procedure.toggle_connection();
  EXPECT_EQ(rig.quendar_port.writes.size(), 1u);
  EXPECT_EQ(rig.clock.slept_ms(), 0);
}

TEST(Connection, QuendarAttemptWithTheLogOnWritesItsEntries) {
  Rig rig(Register::Datecs);  // the wrong variant: the check fails
  write_profile_text(rig.config, "LogFile", "Log", "1");
  write_profile_text(rig.config, "LogFile", "LogName", "attempt.log");
  rig.view.datecs = false;
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(rig.dir.path());
  rig.procedure.toggle_connection();
  std::filesystem::current_path(cwd);
  const std::string log = read_file(rig.dir.file("attempt.log"));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.find(";"), 0u);
  EXPECT_NE(log.find("Начало сеанса"_cp1251), std::string::npos);
  EXPECT_NE(log.find("\r\n80271828;\r\n"), std::string::npos);  // the request, repeated once
  EXPECT_NE(log.find(" SYN=0\r\n;"), std::string::npos);
  EXPECT_NE(log.find("Конец Сеанса"_cp1251), std::string::npos);
}

TEST(Connection, ADamagedConfigurationFileGivesItsDefaults) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
  const std::string damaged[] = {
      binary,
      "[Fiscal Printer]\r\nReply=" + std::string(100000, '9'),
      std::string(1 << 20, 'x'),
      "[Fiscal Printer] Reply=0 [LogFile] Log=1",  // no line ends
  };
  for (const std::string& content : damaged) {
    Rig rig(Register::Quendar);
    testing_support::write_file(rig.config, content);
    rig.view.datecs = false;
    EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::Connected) << content.size();
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(read_profile_text(rig.config, "Communication", "Port", "", 9), "COM4");
  }
}

TEST(Connection, AConfigurationFileThatCannotBeReadIsKept) {
  Rig rig(Register::Quendar);
  // A directory where the file should be: it exists, and reading it fails.
  std::filesystem::remove(rig.config);
  std::filesystem::create_directory(rig.config);
  rig.view.datecs = false;
  EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::Connected);
  EXPECT_EQ(rig.dialogs.messages,
            std::vector<std::string>{std::string("Файл fpinit.ini не читается: порт и скорость не сохранены"_cp1251)});
  EXPECT_TRUE(std::filesystem::is_directory(rig.config));
}

TEST(Connection, AFailedWriteIsALinkFailureAtOnce) {
  Rig rig(Register::Quendar);
  rig.quendar_port.fail_write = true;
  rig.view.datecs = false;
  EXPECT_EQ(rig.procedure.toggle_connection(), ConnectionResult::CheckFailed);
  EXPECT_EQ(rig.quendar_port.empty_reads, 0);  // nothing waited for
  EXPECT_EQ(rig.clock.slept_ms(), 0);          // and nothing repeated
  EXPECT_NE(rig.dialogs.messages.at(0).find("Таймаут устройства! Ошибка!"_cp1251), std::string::npos);
  // The Datecs journal commands say that nothing was sent.
  rig.datecs_port.fail_write = true;
  rig.datecs_driver.open_port("COM1", 9600);
  EXPECT_EQ(datecs::datecs_read_document(nullptr, 1, 1, 0), -1);
  EXPECT_EQ(rig.datecs_port.empty_reads, 0);
}

}  // namespace
