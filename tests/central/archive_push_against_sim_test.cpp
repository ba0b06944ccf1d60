// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli archive --push, the shop PC's nightly job, against talqen-sim and a real
// server: the fill, then the push, each with its line, and an exit that tells both.
#include <gtest/gtest.h>

#include <string>

#include "e2e/sim_process.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_centre.hpp"

namespace {

using testing_support::read_file;
using testing_support::write_file;

TEST(ArchivePush, TheNightlyJobFillsThenPushesAndItsExitTellsBoth) {
  TALQEN_REQUIRE_CENTRE(centre);
  e2e::SimProcess sim({"--protocol", "quendar", "--sample"});
  ASSERT_TRUE(sim.ready());
  testing_support::TempDir dir;
  write_file(dir.file("fpinit.ini"), "[Fiscal Printer]\r\nReply=1\r\n");
  const std::string to = centre.uri(centre.fresh_database());
  const auto cli = [&](const std::string& arguments) {
    return testing_support::run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " " + arguments +
                                        " 2>err.txt");
  };
  ASSERT_EQ(cli("central init --to '" + to + "'").exit_code, 0);

  struct Night {
    std::string port;    // the register's
    std::string centre;
    int exit_code;
    const char* out;
  };
  const Night nights[] = {
      {sim.port(), to, 0, "held 0, fetched 33, absent 0, incomplete 0\npushed 33, held 0, conflicts 0\n"},
      {sim.port(), to, 0, "held 33, fetched 0, absent 0, incomplete 0\npushed 0, held 33, conflicts 0\n"},
      // The centre cannot be had: the fill still counts, and the exit says the push failed.
      {sim.port(), "postgresql://127.0.0.1:1/chain", 2, "held 33, fetched 0, absent 0, incomplete 0\n"},
      // The register cannot be had: what the archive holds still goes to the centre.
      {dir.file("no-such-port"), to, 2, "pushed 0, held 33, conflicts 0\n"},
  };
  for (const Night& night : nights) {
    const auto run = cli("--port " + night.port + " --protocol quendar archive --db tape.db --push '" + night.centre + "'");
    EXPECT_EQ(run.exit_code, night.exit_code) << night.port << " " << night.centre << read_file(dir.file("err.txt"));
    EXPECT_EQ(run.output, night.out) << night.port << " " << night.centre;
  }
}

}  // namespace
