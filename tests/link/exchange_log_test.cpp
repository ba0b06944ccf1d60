// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/exchange_log.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/protocol_driver.hpp"
#include "link/frame.hpp"
#include "support/fake_serial_port.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace device_link;
using namespace text::literals;
namespace fs = std::filesystem;

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TempDir {
  TempDir() : path(fs::temp_directory_path() / ("talqen-log-" + std::to_string(::getpid()) + "-" +
                                                 std::to_string(counter++))) {
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
  static inline int counter = 0;
};

TEST(ExchangeLog, EntryFormats) {
  const LocalTime t{8, 12, 2015, 13, 5, 7};
  EXPECT_EQ(ExchangeLog::format_entry(t, "21", "21"), "; 8-12-2015 13:05:07  21\r\n21\r\n");
  EXPECT_EQ(ExchangeLog::format_entry(t, "", "START"), ";" + std::string("Начало сеанса   "_cp1251) + " 8-12-2015 13:05:07 \r\n");
  EXPECT_EQ(ExchangeLog::format_entry(t, "END", ""), ";" + std::string("Конец Сеанса   "_cp1251) + " 8-12-2015 13:05:07 \r\n");
  EXPECT_EQ(ExchangeLog::format_entry({31, 1, 2024, 9, 0, 59}, "A", "B"), ";31-01-2024  9:00:59  A\r\nB\r\n");
}

TEST(ExchangeLog, OffWithoutANameAndFixedToTheFirstDirectory) {
  testing_support::VirtualClock clock;
  TempDir first, second;
  fs::path cwd = first.path;
  ExchangeLog log(clock, [&] { return cwd.string(); });
  log.write_log("", "START");
  EXPECT_TRUE(fs::is_empty(first.path));

  log.set_log_name("x.log");
  log.write_log("", "START");
  cwd = second.path;  // a file dialog changed the working directory
  log.write_log("END", "");
  EXPECT_TRUE(fs::is_empty(second.path));
  const std::string text = read_file(first.path / "x.log");
  EXPECT_NE(text.find("Начало сеанса"_cp1251), std::string::npos);
  EXPECT_NE(text.find("Конец Сеанса"_cp1251), std::string::npos);
}

TEST(ExchangeLog, QuendarDriverLogsSessionRequestAndReply) {
  testing_support::VirtualClock clock;
  testing_support::FakeSerialPort port(clock);
  TempDir dir;
  ExchangeLog log(clock, [&] { return dir.path.string(); });
  log.set_log_name("Talqen.log");
  ProtocolDriver driver(kQuendarPolicy, port, clock, &log);
  const std::array<std::uint8_t, 6> idle = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  const std::string reply = build_reply_frame(kQuendarPolicy, 0x21, 0x21, "0000", "A;", idle);
  port.script("\x16\x16" + reply);
  driver.open_port("COM1", 9600);
  driver.send(0x21, "");
  driver.close_port();
  const std::string expected = ";" + std::string("Начало сеанса   "_cp1251) + " 8-12-2015 13:05:07 \r\n" +
                               "; 8-12-2015 13:05:07  21\r\n21\r\n" +
                               "; 8-12-2015 13:05:07  21 SYN=2\r\n;" + reply + "\r\n" + ";" +
                               std::string("Конец Сеанса   "_cp1251) + " 8-12-2015 13:05:07 \r\n";
  EXPECT_EQ(read_file(dir.path / "Talqen.log"), expected);
}

}  // namespace
