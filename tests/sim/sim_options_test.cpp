// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_options.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

TEST(SimOptions, AcceptsTheDocumentedCommandLines) {
  const auto p = sim::parse_sim_command_line(
      words("--protocol quendar --sample --link /tmp/x --baud 9600 --password 1111 --latency 120 --service-mode "
            "--log l.txt --fault 3:nak --fault 5:error=0B01 --fault-rate 0.25 --seed 9"));
  ASSERT_TRUE(p.options) << p.error;
  const sim::SimOptions& o = *p.options;
  EXPECT_TRUE(o.quendar && o.sample && o.service_mode);
  EXPECT_EQ(o.link, "/tmp/x");
  EXPECT_EQ(o.baud, 9600);
  EXPECT_EQ(o.password, "1111");
  EXPECT_EQ(o.latency_ms, 120);
  ASSERT_EQ(o.faults.size(), 2u);
  EXPECT_EQ(o.faults[0].first, 3u);
  EXPECT_EQ(sim::fault_name(o.faults[1].second), "error=0B01");
  EXPECT_DOUBLE_EQ(o.fault_rate, 0.25);
  EXPECT_EQ(o.seed, 9u);

  const auto defaults = sim::parse_sim_command_line({});
  ASSERT_TRUE(defaults.options);
  EXPECT_FALSE(defaults.options->quendar);
  EXPECT_EQ(defaults.options->password, "271828");
  EXPECT_EQ(defaults.options->end_mark, 0);
  EXPECT_EQ(sim::parse_sim_command_line(words("--end-mark -1")).options->end_mark, -1);
}

TEST(SimOptions, RefusesBadCommandLines) {
  const char* cases[] = {
      "--protocol ecr",           "--journal a.xml --sample",  "--link a --device b",  "--baud 0",
      "--baud fast",              "--latency -1",              "--fault 0:nak",        "--fault 2:melt",
      "--fault nak",              "--fault 2:error=12",        "--fault 2:error=00g6", "--fault-rate 1.5",
      "--seed 3",                 "--protocol quendar --end-mark -1", "--end-mark 1",   "--frobnicate",
      "--log",                    "--first-number 0",
  };
  for (const char* line : cases) EXPECT_FALSE(sim::parse_sim_command_line(words(line)).options) << line;
}

TEST(SimOptions, EveryFaultKindReadsBackUnderItsName) {
  for (const char* kind : {"silence", "nak", "bad-checksum", "garbage", "truncate", "noise-before", "syn-storm",
                           "oversize", "many-fields", "error=0006", "bad-number", "bad-terminator"}) {
    const auto fault = sim::parse_fault(kind);
    ASSERT_TRUE(fault) << kind;
    EXPECT_EQ(sim::fault_name(*fault), kind);
  }
}

}  // namespace
