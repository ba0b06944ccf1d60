// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli verify on an archive of talqen-sim's sample tape: the tape is whole and adds
// up, a selection reaching past it names the numbers not fetched, and an archive that
// cannot be read is a usage failure.
#include <gtest/gtest.h>

#include <string>

#include "fetch_helpers.hpp"

namespace {

using namespace e2e;

TEST(VerifyAgainstSim, TheArchivedSampleTapeIsWholeAndAddsUp) {
  const Variant& quendar = kVariants[1];
  SimProcess sim = start_sim(quendar);
  ASSERT_TRUE(sim.ready());
  TempDir dir;
  write_file(dir.file("fpinit.ini"), kRepeatOnce);
  const CliOutcome archived =
      talqen_cli(dir, "--port " + sim.port() + " --protocol " + quendar.protocol + " archive --db tape.db");
  ASSERT_EQ(archived.exit_code, 0) << archived.err;

  const std::string first_z_unchecked =
      "note\tdocument 11\tZ 41\tnot checkable: the archive holds no Z-report before it\t"
      "expected -\tfound -\tdifference -\n";
  const CliOutcome whole = talqen_cli(dir, "verify --db tape.db");
  EXPECT_EQ(whole.exit_code, 0) << whole.err;
  EXPECT_EQ(whole.out, first_z_unchecked + "summary\tdocuments 33\tZ-reports 3, checked 2\tfindings 0\n");

  // One day: its shift begins after the day before's Z-report, which the archive holds.
  const CliOutcome json = talqen_cli(dir, "verify --db tape.db --format json --from 14.05.24 --to 14.05.24");
  EXPECT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(json.out, "{\"findings\":[],\n\"summary\":{\"documents\":11,\"z_reports\":1,\"z_reports_checked\":1,\"findings\":0}}\n");

  const CliOutcome beyond = talqen_cli(dir, "verify --db tape.db 30 40");
  EXPECT_EQ(beyond.exit_code, 1);
  EXPECT_NE(beyond.out.find("finding\tdocument 34-40\tZ -\tnot in the archive: archive fetches it\texpected held\t"
                            "found not fetched\tdifference -\n"),
            std::string::npos)
      << beyond.out;

  const CliOutcome missing = talqen_cli(dir, "verify --db no-such.db");
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("talqen-cli verify: "), std::string::npos) << missing.err;
}

}  // namespace
