// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/config_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "app/profile_file.hpp"
#include "support/scripted_dialogs.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace app;
using namespace text::literals;
using testing_support::read_file;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::write_file;

TEST(ConfigFile, MissingFileIsCreatedWithExactlyFourKeysAndAMessage) {
  TempDir dir;
  const std::string path = dir.file("fpinit.ini");
  ScriptedDialogs dialogs;
  ensure_config_file(path, dialogs);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "Файл fpinit.ini отсутствует.\n Создание файла!"_cp1251);
  EXPECT_EQ(read_file(path),
            "[CountryMode]\r\nCountry code=0\r\n[Fiscal Printer]\r\nExtendedTax=1\r\n"
            "[LogFile]\r\nLog=0\r\nLogName=talqen.log\r\n");
  ensure_config_file(path, dialogs);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  const StoredSelection s = stored_port_and_speed(path);
  EXPECT_EQ(port_items()[s.port], "COM1");
  EXPECT_EQ(speed_items()[s.speed], "9600");
}

TEST(ConfigFile, StoredPortAndSpeedSelectTheirItems) {
  TempDir dir;
  const std::string path = dir.file("fpinit.ini");
  struct Case { std::string port, speed, expected_port, expected_speed; };
  const Case cases[] = {
      {"com3", "19200", "COM3", "19200"},  // the port is compared in upper case
      {"COM20", "115200", "COM20", "115200"},
      {"COM25", "250000", "COM1", "9600"},  // names no item
      {"", "", "COM1", "9600"},
      {"COM2", "9600 ", "COM2", "9600"},
  };
  for (const Case& c : cases) {
    write_file(path, "[Communication]\r\nPort=" + c.port + "\r\nSpeed=" + c.speed + "\r\n");
    const StoredSelection s = stored_port_and_speed(path);
    EXPECT_EQ(port_items()[s.port], c.expected_port) << c.port;
    EXPECT_EQ(speed_items()[s.speed], c.expected_speed) << c.speed;
  }
  EXPECT_EQ(port_items().size(), 20u);
  EXPECT_EQ(speed_items().size(), 11u);
}

TEST(ConfigFile, ADirectoryThatRefusesTheFileIsReportedNotAnnounced) {
  TempDir dir;
  const std::string path = dir.file("no-such-dir/fpinit.ini");
  ScriptedDialogs dialogs;
  EXPECT_FALSE(ensure_config_file(path, dialogs));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].find("Создание файла!"_cp1251), std::string::npos);
  EXPECT_NE(dialogs.messages[0].find(path), std::string::npos);
}

TEST(ConfigFile, StoredSettingsForTheCommandLine) {
  TempDir dir;
  const std::string path = dir.file("fpinit.ini");
  struct Case {
    std::string content;
    std::string port;
    std::optional<int> speed;
    ProtocolVariant protocol;
  };
  const Case cases[] = {
      {"", "", std::nullopt, ProtocolVariant::Datecs},
      // A device path longer than the port box's nine characters stays whole.
      {"[Communication]\r\nPort=/dev/pts/12\r\nSpeed=115200\r\n[Fiscal Printer]\r\nProtocol=Quendar\r\n",
       "/dev/pts/12", 115200, ProtocolVariant::Quendar},
      {"[Communication]\r\nSpeed=fast\r\n[Fiscal Printer]\r\nProtocol=modbus\r\n", "", std::nullopt,
       ProtocolVariant::Datecs},
      {"[Communication]\r\nSpeed=0\r\n", "", std::nullopt, ProtocolVariant::Datecs},
  };
  for (const Case& c : cases) {
    write_file(path, c.content);
    EXPECT_EQ(stored_port(path), c.port) << c.content;
    EXPECT_EQ(stored_speed(path), c.speed) << c.content;
    EXPECT_EQ(stored_protocol(path), c.protocol) << c.content;
  }
  write_file(path, "[Organisation]\r\nName=" + std::string("Приклад"_cp1251) + "\r\n");
  EXPECT_EQ(stored_organisation(path).name, std::string("Приклад"_cp1251));
  EXPECT_EQ(stored_organisation(path).city, render::Organisation{}.city);  // absent: the register's own

  write_file(path, "[Fiscal Printer]\r\nReply=1\r\n");
  ASSERT_EQ(store_protocol(path, ProtocolVariant::Quendar), ProfileWrite::Written);
  EXPECT_EQ(read_file(path), "[Fiscal Printer]\r\nReply=1\r\nProtocol=quendar\r\n");
  EXPECT_EQ(stored_protocol(path), ProtocolVariant::Quendar);
}

TEST(ConfigFile, ProgramDirectoryIsFixedAtFirstUse) {
  messages::ProgramState program;
  fix_program_directory(program, "/first");
  fix_program_directory(program, "/second");
  EXPECT_EQ(program.program_directory, "/first");
  // The platform's separator: a backslash on Windows.
  EXPECT_EQ(program.config_path, "/first" + std::string(1, static_cast<char>(std::filesystem::path::preferred_separator)) +
                                    "fpinit.ini");
}

}  // namespace
