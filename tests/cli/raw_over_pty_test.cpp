// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli raw against a register on a pseudo-terminal, both variants.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "link/frame.hpp"
#include "support/pty_register.hpp"
#include "support/record_lines.hpp"
#include "support/run_program.hpp"

namespace {

using namespace device_link;
using testing_support::PtyRegister;
using testing_support::record_value;
using testing_support::run_program;

constexpr std::array<std::uint8_t, 6> kIdle = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

TEST(RawOverPty, EachOutcomeShowsItsStatusWordAndExitCode) {
  struct Case {
    const char* protocol;
    const char* behaviour;  // ok, nak, bad-sum, silence
    const char* status;
    int exit_code;
  };
  const Case cases[] = {
      {"datecs", "ok", "00000000", 0},      {"quendar", "ok", "00000000", 0},
      {"datecs", "nak", "02000000", 1},     {"quendar", "nak", "02000000", 1},
      {"datecs", "bad-sum", "01000000", 1}, {"quendar", "bad-sum", "01000000", 1},
      {"datecs", "silence", "04000000", 1}, {"quendar", "silence", "04000000", 1},
  };
  for (const Case& c : cases) {
    const bool quendar = std::string(c.protocol) == "quendar";
    const VariantPolicy& policy = quendar ? kQuendarPolicy : kDatecsPolicy;
    const std::string behaviour = c.behaviour;
    PtyRegister reg([&](const Request& r) -> std::string {
      if (behaviour == "silence") return "";
      if (behaviour == "nak") return "\x16\x15";
      std::string reply = build_reply_frame(policy, r.sequence, r.command, "0000",
                                            quendar ? "ECR-Q;1.0;SN;" : "ECR 1.0 01Jan24 1200,FF,00,SN,0", kIdle);
      if (behaviour == "bad-sum") reply[reply.size() - 2] ^= 1;
      return "\x16" + reply;
    });
    const std::string cmd = std::string(TALQEN_CLI) + " --port " + reg.slave() + " --protocol " + c.protocol +
                            " --reply 0 raw " + (quendar ? "0x80 271828\\;" : "90") + " 2>&1";
    const auto run = run_program(cmd);
    const std::string what = std::string(c.protocol) + " " + c.behaviour;
    EXPECT_EQ(run.exit_code, c.exit_code) << what << "\n" << run.output;
    EXPECT_EQ(record_value("\n" + run.output, "Status"), c.status) << what;
    EXPECT_EQ(record_value("\n" + run.output, "Command"), quendar ? "80" : "5A") << what;
    if (behaviour == "ok") {
      EXPECT_EQ(record_value(run.output, "FieldCount"), quendar ? "3" : "8") << what;
      EXPECT_EQ(record_value(run.output, "Field3"), quendar ? "SN" : "01Jan24") << what;
      EXPECT_EQ(record_value(run.output, "RawReply").substr(0, 2), "01") << what;
    }
    const std::string sent = record_value(run.output, "SentFrame");
    EXPECT_EQ(sent.empty(), !quendar) << what << ": " << sent;
    if (quendar) {
      EXPECT_EQ(sent.substr(0, 12), "01 2B 21 80 ") << what;
    }
  }
}

TEST(RawOverPty, PortThatCannotBeOpenedAndBadUsage) {
  const auto missing = run_program(std::string(TALQEN_CLI) + " --port /dev/no-such-port raw 0x5A 2>&1");
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.output.find("Невозможно подключить порт"), std::string::npos);
  for (const char* args : {"raw", "raw 0x10", "raw 256", "--port COM1 raw", "frobnicate"})
    EXPECT_EQ(run_program(std::string(TALQEN_CLI) + " " + args + " 2>/dev/null").exit_code, 2) << args;
  EXPECT_EQ(run_program(std::string(TALQEN_CLI) + " --help").exit_code, 0);
}

}  // namespace
