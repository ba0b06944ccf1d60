// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli raw against talqen-sim on a real pseudo-terminal, both variants.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "retrieval/base64.hpp"
#include "sim/fiscal_register.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "sim_process.hpp"
#include "support/record_lines.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"

namespace {

using e2e::SimProcess;
using testing_support::record_value;
using testing_support::read_file;
using testing_support::run_program;

struct Variant {
  const char* protocol;
  const char* diagnostic;  // raw CMD DATA of the diagnostic command
  const char* read_doc_1;  // raw CMD DATA reading fragment 0 of document 1
};
const Variant kDatecs = {"datecs", "0x5A", "0xA7 1,1,0"};
const Variant kQuendar = {"quendar", "0x80 '271828;'", "0xA7 '271828;1;1;0;'"};

// One talqen-cli raw exchange; --reply 0 so that a Quendar failure costs no repeat.
testing_support::ProgramRun raw(const SimProcess& sim, const char* protocol, const std::string& command,
                                const char* extra = "--reply 0") {
  return run_program(std::string(TALQEN_CLI) + " --port " + sim.port() + " --protocol " + protocol + " " + extra +
                     " raw " + command + " 2>&1");
}

std::string temp_path(const std::string& name) {
  return testing::TempDir() + "talqen_e2e_" + std::to_string(::getpid()) + "_" + name;
}

TEST(RawAgainstSim, DiagnosticInEachVariant) {
  for (const Variant& v : {kDatecs, kQuendar}) {
    SimProcess sim({"--protocol", v.protocol, "--sample"});
    ASSERT_TRUE(sim.ready()) << sim.output();
    const auto run = raw(sim, v.protocol, v.diagnostic);
    EXPECT_EQ(run.exit_code, 0) << run.output;
    EXPECT_EQ(record_value(run.output, "Status"), "00000000") << run.output;
    EXPECT_EQ(record_value(run.output, "FieldCount"), v.protocol == kDatecs.protocol ? "8" : "3") << run.output;
    EXPECT_EQ(record_value(run.output, "Field1"), v.protocol == kDatecs.protocol ? "SIM-DT" : "SIM-QN");
    EXPECT_EQ(sim.stop(), 0);
  }
}

TEST(RawAgainstSim, OneFragmentInEachVariant) {
  // Datecs serves the built-in sample, Quendar a journal file of our own.
  const std::string journal_path = temp_path("journal.xml");
  const std::string own_journal =
      "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n"
      "<DAT DI=\"1\"><C T=\"0\"><L N=\"1\">" + std::string(300, 'x') +
      "</L></C><TS>20240601120000</TS></DAT><MAC DI=\"1\">QUJD</MAC>\r\n</RQ>\r\n";
  std::ofstream(journal_path, std::ios::binary) << own_journal;

  for (const Variant& v : {kDatecs, kQuendar}) {
    const bool datecs = v.protocol == kDatecs.protocol;
    std::vector<std::string> args = {"--protocol", v.protocol, "--sample"};
    if (!datecs) args = {"--protocol", v.protocol, "--journal", journal_path};
    SimProcess sim(args);
    ASSERT_TRUE(sim.ready()) << sim.output();
    const auto run = raw(sim, v.protocol, v.read_doc_1);
    EXPECT_EQ(run.exit_code, 0) << run.output;
    EXPECT_EQ(record_value(run.output, "FieldCount"), "2") << run.output;
    EXPECT_EQ(record_value(run.output, "Field1"), "1");

    const sim::JournalIndex index = sim::JournalIndex::from_text(datecs ? sim::sample_journal_text() : own_journal);
    const sim::FiscalRegister reg(datecs ? device_link::kDatecsPolicy : device_link::kQuendarPolicy, {}, index);
    const std::string first_bytes = index.by_number(1)->bytes.substr(0, reg.fragment_bytes());
    EXPECT_EQ(retrieval::base64_decode(record_value(run.output, "Field2")), first_bytes);
  }
  std::remove(journal_path.c_str());
}

TEST(RawAgainstSim, NakInEachVariant) {
  for (const Variant& v : {kDatecs, kQuendar}) {
    SimProcess sim({"--protocol", v.protocol, "--sample", "--fault", "1:nak"});
    ASSERT_TRUE(sim.ready()) << sim.output();
    const auto nak = raw(sim, v.protocol, v.diagnostic);
    EXPECT_EQ(nak.exit_code, 1) << nak.output;
    EXPECT_EQ(record_value(nak.output, "Status"), "02000000") << nak.output;
    EXPECT_EQ(record_value(nak.output, "RawReply"), "15");
    const auto next = raw(sim, v.protocol, v.diagnostic);
    EXPECT_EQ(next.exit_code, 0) << "only the first request is refused\n" << next.output;
  }
}

// A silent register costs the client five seconds: one variant per test, so that they
// run side by side.
void expect_silence(const Variant& v) {
  SimProcess sim({"--protocol", v.protocol, "--sample", "--fault", "1:silence"});
  ASSERT_TRUE(sim.ready()) << sim.output();
  const auto run = raw(sim, v.protocol, v.diagnostic);
  EXPECT_EQ(run.exit_code, 1) << run.output;
  EXPECT_EQ(record_value(run.output, "Status"), "04000000") << run.output;
  EXPECT_EQ(record_value(run.output, "RawReply"), "");
}
TEST(RawAgainstSim, SilenceDatecs) { expect_silence(kDatecs); }
TEST(RawAgainstSim, SilenceQuendar) { expect_silence(kQuendar); }

TEST(RawAgainstSim, WrongPasswordQuendar) {
  SimProcess sim({"--protocol", "quendar", "--sample", "--password", "1234"});
  ASSERT_TRUE(sim.ready()) << sim.output();
  const auto wrong = raw(sim, "quendar", "0xA7 '271828;1;1;0;'");
  EXPECT_EQ(wrong.exit_code, 0) << "the register answered: no link failure\n" << wrong.output;
  EXPECT_EQ(record_value(wrong.output, "ErrorField"), "0006") << wrong.output;
  EXPECT_EQ(record_value(wrong.output, "FieldCount"), "0");
  const auto right = raw(sim, "quendar", "0xA7 '1234;1;1;0;'");
  EXPECT_EQ(record_value(right.output, "ErrorField"), "0000") << right.output;
  EXPECT_EQ(record_value(right.output, "FieldCount"), "2");
}

TEST(RawAgainstSim, UnknownCommandInEachVariant) {
  for (const Variant& v : {kDatecs, kQuendar}) {
    const bool datecs = v.protocol == kDatecs.protocol;
    SimProcess sim({"--protocol", v.protocol, "--sample"});
    ASSERT_TRUE(sim.ready()) << sim.output();
    const auto run = raw(sim, v.protocol, datecs ? "0x21" : "0x21 '271828;'");
    EXPECT_EQ(run.exit_code, 0) << run.output;
    EXPECT_EQ(record_value(run.output, "Status"), datecs ? "00000002" : "00000000") << run.output;
    EXPECT_EQ(record_value(run.output, "ErrorField"), datecs ? "" : "0002") << run.output;
  }
}

TEST(RawAgainstSim, QuendarRepeatsARefusedRequestWithTheSameSequence) {
  const std::string log_path = temp_path("repeat.log");
  SimProcess sim({"--protocol", "quendar", "--sample", "--fault", "1:nak", "--log", log_path});
  ASSERT_TRUE(sim.ready()) << sim.output();
  const auto run = raw(sim, "quendar", kQuendar.diagnostic, "--reply 1");
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(record_value(run.output, "Status"), "00000000") << run.output;
  EXPECT_EQ(sim.stop(), 0);
  std::istringstream log(read_file(log_path));
  std::vector<std::string> lines;
  for (std::string l; std::getline(log, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 2u) << read_file(log_path);
  EXPECT_NE(lines[0].find("#1 SEQ 21 CMD 80"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("fault nak"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("#2 SEQ 21 CMD 80"), std::string::npos) << lines[1];
  EXPECT_NE(lines[1].find("diagnostic information (0000)"), std::string::npos) << lines[1];
  std::remove(log_path.c_str());
}

TEST(SimProcessLife, StopsOnEitherSignalAndRemovesItsLink) {
  for (const int sig : {SIGTERM, SIGINT}) {
    const std::string link = temp_path("link" + std::to_string(sig));
    SimProcess sim({"--sample", "--link", link});
    ASSERT_TRUE(sim.ready()) << sim.output();
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.port());
    const auto run = run_program(std::string(TALQEN_CLI) + " --port " + link + " raw 0x5A 2>&1");
    EXPECT_EQ(record_value(run.output, "FieldCount"), "8") << run.output;
    EXPECT_EQ(sim.stop(sig), 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0) << link << " is left behind";
  }
}

TEST(SimProcessLife, KeepsAnsweringAfterAnyByteStream) {
  SimProcess sim({"--sample"});
  ASSERT_TRUE(sim.ready()) << sim.output();
  // Noise, a partial frame, an oversized frame and stray control bytes, from another
  // client that then goes away.
  std::mt19937 rng(99);
  std::string junk;
  for (int i = 0; i < 3000; ++i) junk += static_cast<char>(rng() % 256);
  junk += "\x01\x2F\x21\x5A" + std::string(600, 'Q') + "\x01\x26\x21";
  const int fd = ::open(sim.port().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::write(fd, junk.data(), junk.size()), static_cast<ssize_t>(junk.size()));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ::close(fd);
  const auto run = raw(sim, "datecs", kDatecs.read_doc_1);
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(record_value(run.output, "Field1"), "1") << run.output;
}

TEST(SimProcessLife, WorksWithSynBytesAndAnswersAtTheLineSpeed) {
  SimProcess sim({"--sample", "--latency", "400", "--baud", "2400"});
  ASSERT_TRUE(sim.ready()) << sim.output();
  const auto start = std::chrono::steady_clock::now();
  const auto run = raw(sim, "datecs", kDatecs.read_doc_1, "--speed 2400");
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(record_value(run.output, "Field1"), "1") << run.output;
  // 400 ms of work, then a reply of about 230 bytes at 240 bytes a second.
  EXPECT_GE(took, std::chrono::milliseconds(1200));
  EXPECT_LT(took, std::chrono::milliseconds(4000));
}

TEST(SimProcessLife, RefusesBadUsageAndAnUnreadableJournal) {
  const std::string bad_journal = temp_path("bad.xml");
  std::ofstream(bad_journal) << "<RQ><DAT></RQ>";
  struct Case {
    std::vector<std::string> args;
    int exit_code;
  };
  const Case cases[] = {
      {{"--protocol", "ecr"}, 2},
      {{"--fault", "x:nak"}, 2},
      {{"--journal", bad_journal}, 1},
      {{"--journal", temp_path("missing.xml")}, 1},
      {{"--device", "/dev/no-such-port"}, 1},
  };
  for (const Case& c : cases) {
    SimProcess sim(c.args);
    EXPECT_FALSE(sim.ready()) << c.args[0];
    EXPECT_EQ(sim.stop(), c.exit_code) << c.args[0] << " " << c.args[1];
  }
  std::remove(bad_journal.c_str());
}

}  // namespace
