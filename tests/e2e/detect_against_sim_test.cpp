// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli detect against talqen-sim answering only at 57600 baud, among a port that
// cannot be opened and a pseudo-terminal nobody answers on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>

#include "fetch_helpers.hpp"

namespace {

using namespace e2e;

// A pseudo-terminal whose other end stays open and silent.
class SilentLine {
 public:
  SilentLine() : master_(::posix_openpt(O_RDWR | O_NOCTTY)) {
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) path_ = ::ptsname(master_);
  }
  ~SilentLine() {
    if (master_ >= 0) ::close(master_);
  }
  const std::string& path() const { return path_; }

 private:
  int master_;
  std::string path_;
};

struct Detection {
  int exit_code;
  std::string out, err, config;
  double seconds;
  bool config_is_directory;
};

// unreadable_config: a directory stands where fpinit.ini belongs.
Detection detect(const std::string& ports, bool unreadable_config = false) {
  TempDir dir;
  if (unreadable_config) std::filesystem::create_directory(dir.file("fpinit.ini"));
  const auto start = std::chrono::steady_clock::now();
  const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " detect --write-config " + ports +
                               " 2>" + dir.file("err.txt"));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const bool directory = std::filesystem::is_directory(dir.file("fpinit.ini"));
  return {run.exit_code, run.output, read_file(dir.file("err.txt")), directory ? "" : read_file(dir.file("fpinit.ini")),
          took.count(), directory};
}

TEST(DetectAgainstSim, FindsPortSpeedAndVariantAmongThreeCandidates) {
  struct Case {
    const char* protocol;
    std::string identity;
  };
  const Case cases[] = {{"datecs", "SIM-DT    4000000001"},
                        {"quendar", "   Модель:SIM-QN,    Версия:1.00,     4000000001."}};
  for (const Case& c : cases) {
    TempDir logs;
    SimProcess sim({"--protocol", c.protocol, "--sample", "--baud", "57600", "--log", logs.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    SilentLine silent;
    ASSERT_FALSE(silent.path().empty());
    const Detection d = detect("/dev/no-such-port " + silent.path() + " " + sim.port());
    EXPECT_EQ(d.exit_code, 0) << d.err;
    EXPECT_EQ(d.out, sim.port() + " 57600 " + c.protocol + "\n" + c.identity + "\n");
    EXPECT_TRUE(contains(d.config, "Port=" + sim.port() + "\r\n")) << d.config;
    EXPECT_TRUE(contains(d.config, "Speed=57600\r\n")) << d.config;
    sim.stop();
    const std::string log = read_file(logs.file("sim.log"));
    std::size_t requests = 0;
    const std::regex command(" CMD ([0-9A-F]{2}) ");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), command); it != std::sregex_iterator(); ++it, ++requests)
      EXPECT_TRUE((*it)[1].str() == "5A" || (*it)[1].str() == "80") << log;  // the two diagnostic commands only
    EXPECT_GT(requests, 0u);
    std::printf("[ detect ] %s found in %.1f s\n", c.protocol, d.seconds);
  }
}

TEST(DetectAgainstSim, AConfigurationThatCannotBeStoredIsAFailure) {
  SimProcess sim({"--protocol", "datecs", "--sample", "--baud", "115200"});
  ASSERT_TRUE(sim.ready());
  const Detection d = detect(sim.port(), true);
  EXPECT_EQ(d.exit_code, 1);
  EXPECT_EQ(d.out, sim.port() + " 115200 datecs\nSIM-DT    4000000001\n");
  EXPECT_TRUE(contains(d.err, "Файл fpinit.ini не читается: порт и скорость не сохранены")) << d.err;
  EXPECT_TRUE(d.config_is_directory);
}

TEST(DetectAgainstSim, NoRegisterIsReportedWithinTheProbesWaits) {
  SilentLine silent;
  const Detection d = detect("/dev/no-such-port " + silent.path());
  EXPECT_EQ(d.exit_code, 1);
  EXPECT_EQ(d.out, "");
  EXPECT_TRUE(contains(d.err, "Регистратор не найден\n")) << d.err;
  EXPECT_TRUE(d.config.empty() || !contains(d.config, "Port="));
  // 11 speeds in 2 variants on the silent port, 300 ms each.
  EXPECT_LT(d.seconds, 15.0);
  std::printf("[ detect ] nothing found in %.1f s over one silent port\n", d.seconds);
}

}  // namespace
