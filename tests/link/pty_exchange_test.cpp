// SPDX-License-Identifier: GPL-3.0-or-later
// The driver over a real pseudo-terminal, with a small register answering on the
// master side.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <string>

#include "link/frame.hpp"
#include "link/protocol_driver.hpp"
#include "support/pty_register.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace device_link;
using testing_support::PtyRegister;

constexpr std::array<std::uint8_t, 6> kIdle = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

TEST(PtyExchange, BothVariantsTalkToARegisterOnAPseudoTerminal) {
  struct Case { const VariantPolicy* policy; int command; std::string data; std::string reply; const char* field; };
  const Case cases[] = {
      {&kQuendarPolicy, 0x80, "271828;", "ECR-Q;1.0;SN-7;", "SN-7"},
      {&kDatecsPolicy, 0x5A, "", "ECR 1.0 01Jan24 1200,FFFF,00,SN-9,00000000", "SN-9"},
  };
  for (const Case& c : cases) {
    int requests = 0;
    PtyRegister reg([&](const Request& r) {
      ++requests;
      return "\x16\x16" + build_reply_frame(*c.policy, r.sequence, r.command, "0000", c.reply, kIdle);
    });
    ASSERT_FALSE(reg.slave().empty());
    auto port = make_platform_serial_port();
    ProtocolDriver driver(*c.policy, *port, system_clock());
    ASSERT_EQ(driver.open_port(reg.slave(), 115200), 0);
    const datecs::RetData* r = driver.execute_command(c.command, c.data);
    EXPECT_EQ(r->Status, 0u) << c.policy->name;
    ASSERT_GE(r->FieldCount, 3) << c.policy->name;
    EXPECT_STREQ(r->Fields[c.policy == &kQuendarPolicy ? 2 : 6], c.field);
    EXPECT_NE(driver.close_port(), 0);
    EXPECT_EQ(requests, 1) << c.policy->name << " raw " << driver.last_raw_reply();
  }
}

TEST(PtyExchange, NakAndChecksumMismatchOverARealLine) {
  int n = 0;
  PtyRegister reg([&](const Request& r) -> std::string {
    if (n++ == 0) return "\x15";
    std::string reply = build_reply_frame(kDatecsPolicy, r.sequence, r.command, "", "1", kIdle);
    reply[reply.size() - 2] ^= 1;
    return reply;
  });
  auto port = make_platform_serial_port();
  ProtocolDriver driver(kDatecsPolicy, *port, system_clock());
  ASSERT_EQ(driver.open_port(reg.slave(), 9600), 0);
  driver.send(0x4A, "");
  EXPECT_EQ(driver.result().Status, status::kNak);
  driver.send(0x4A, "");
  EXPECT_EQ(driver.result().Status, status::kChecksumMismatch);
  driver.close_port();
}

TEST(PtyExchange, PortIsExclusiveAndUnknownSpeedsFail) {
  PtyRegister reg([](const Request&) { return std::string(); });
  auto first = make_platform_serial_port();
  auto second = make_platform_serial_port();
  EXPECT_FALSE(first->open(reg.slave(), 12345));
  ASSERT_TRUE(first->open(reg.slave(), 9600));
  EXPECT_FALSE(second->open(reg.slave(), 9600));
  EXPECT_TRUE(first->close());
  EXPECT_TRUE(second->open(reg.slave(), 9600));
  EXPECT_FALSE(make_platform_serial_port()->open("/dev/does-not-exist", 9600));
}

TEST(PtyExchange, ClosingClearsExclusiveModeForTheNextOpener) {
  PtyRegister reg([](const Request&) { return std::string(); });
  // Root passes exclusive mode by, so the terminal's own flag is what is checked.
  const auto exclusive = [&] {
    const int fd = ::open(reg.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int flag = -1;
    if (fd >= 0) {
      ::ioctl(fd, TIOCGEXCL, &flag);
      ::close(fd);
    }
    return flag;
  };
  auto port = make_platform_serial_port();
  ASSERT_TRUE(port->open(reg.slave(), 9600));
  EXPECT_EQ(exclusive(), 1);
  EXPECT_TRUE(port->close());
  EXPECT_EQ(exclusive(), 0);
  // A refused second open leaves the holder's exclusive mode alone.
  ASSERT_TRUE(port->open(reg.slave(), 9600));
  EXPECT_FALSE(make_platform_serial_port()->open(reg.slave(), 9600));
  EXPECT_EQ(exclusive(), 1);
  port->close();
}

TEST(PtyExchange, AFailedOpenNamesTheDeviceAndTheReason) {
  PtyRegister reg([](const Request&) { return std::string(); });
  auto holder = make_platform_serial_port();
  ASSERT_TRUE(holder->open(reg.slave(), 9600));
  const std::string dir = ::testing::TempDir();
  struct Case { std::string name; int speed; std::string reason; };
  const Case cases[] = {
      {"/dev/does-not-exist", 9600, "/dev/does-not-exist (/dev/does-not-exist): No such file or directory"},
      {"COM250", 9600, "COM250 (/dev/ttyS249): No such file or directory"},
      {dir, 9600, dir + " (" + dir + "): Is a directory"},
      {reg.slave(), 9600, reg.slave() + text::from_utf8(": занят другой программой")},
      {"/dev/null", 12345, text::from_utf8("/dev/null: скорость 12345 не поддерживается")},
  };
  for (const Case& c : cases) {
    auto port = make_platform_serial_port();
    ProtocolDriver driver(kDatecsPolicy, *port, system_clock());
    EXPECT_EQ(driver.open_port(c.name, c.speed), -1) << c.name;
    EXPECT_EQ(last_open_error(), c.reason);
  }
  holder->close();
  auto port = make_platform_serial_port();
  EXPECT_TRUE(port->open(reg.slave(), 9600));
  EXPECT_EQ(last_open_error(), "");
}

TEST(PortNames, ComNamesAndPaths) {
  EXPECT_EQ(device_path("COM1"), "/dev/ttyS0");
  EXPECT_EQ(device_path("COM15"), "/dev/ttyS14");
  EXPECT_EQ(device_path("/dev/ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(device_path("ttyACM0"), "/dev/ttyACM0");
}

}  // namespace
