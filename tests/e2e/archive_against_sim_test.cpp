// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli archive against talqen-sim in both variants, whose connection check spells
// the register's numbers otherwise than its tape: a run killed in the middle and run
// again holds the tape exactly as one fetch brings it, a run over an archive that is up
// to date asks the register for no document, documents of another register are never
// mixed in, and a tape that begins far into the numbering is asked from where it begins.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <regex>
#include <string>
#include <vector>

#include "archive/tape_archive.hpp"
#include "cli_process.hpp"
#include "fetch_helpers.hpp"

namespace {

using namespace e2e;

struct ArchiveRun {
  int exit_code;
  std::string out, err;
};

// The Datecs variant ends each exchange at the reply's terminator: the tape in seconds.
std::vector<std::string> connection(const SimProcess& sim, const Variant& v) {
  std::vector<std::string> args = {"--port", sim.port(), "--protocol", v.protocol};
  if (&v.policy == &device_link::kDatecsPolicy) args.emplace_back("--quick-end");
  return args;
}

// One talqen-cli command in dir, where the archive is kept from run to run.
ArchiveRun cli_in(const TempDir& dir, const SimProcess& sim, const Variant& v, const std::string& arguments,
                  const std::string& config = kRepeatOnce) {
  write_file(dir.file("fpinit.ini"), config);
  std::string command_line = "cd " + dir.path().string() + " && " + TALQEN_CLI;
  for (const std::string& a : connection(sim, v)) command_line += " " + a;
  const auto run = run_program(command_line + " " + arguments + " 2>" + dir.file("err.txt"));
  return {run.exit_code, run.output, read_file(dir.file("err.txt"))};
}

// The archive's documents joined as temp.xml joins them, with their numbers.
std::string archived_journal_text(const std::string& path, std::vector<std::int32_t>* numbers = nullptr) {
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  archive::TapeArchive::open_existing(path).visit({}, [&](const archive::ArchivedDocument& d) {
    text += d.text + "\r\n";
    if (numbers) numbers->push_back(static_cast<std::int32_t>(d.number));
  });
  return text + "</RQ>\r\n";
}

// The connection check names the register otherwise than its tape's DAT does (a prefix).
std::vector<std::string> answer_spelled_otherwise(const char* factory = "SN4000000001") {
  return {"--answer-numbers", std::string(factory) + ",FN3000000001"};
}

// What the simulator was asked since its log had `from` bytes, one command code a line.
std::vector<std::string> commands_since(const std::string& log, std::size_t from) {
  std::vector<std::string> commands;
  for (std::size_t at = log.find(" CMD ", from); at != std::string::npos; at = log.find(" CMD ", at + 1))
    commands.push_back(log.substr(at + 5, 2));
  return commands;
}

TEST(ArchiveAgainstSim, AKilledRunGoesOnWhereItStoppedAndAnUpToDateArchiveAsksNothing) {
  for (const Variant& v : kVariants) {
    TempDir dir;
    const std::string log = dir.file("sim.log");
    // Slow replies, so that the run is surely in the middle of the tape when it is killed.
    std::vector<std::string> options = answer_spelled_otherwise();
    options.insert(options.end(), {"--latency", "20", "--log", log});
    SimProcess sim = start_sim(v, options);
    ASSERT_TRUE(sim.ready());
    const std::string fetched = cli_in(dir, sim, v, "fetch 1 end -o lines.txt").exit_code == 0
                                    ? read_file(dir.file("temp.xml"))
                                    : std::string("fetch 1 end failed");
    {
      std::vector<std::string> args = connection(sim, v);
      args.emplace_back("archive");
      CliProcess run(dir.path().string(), args);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      const std::size_t before = read_file(log).size();
      while (!contains(read_file(log).substr(before), "of document 14 ") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      run.signal(SIGKILL);
      EXPECT_EQ(run.wait(5000), -1) << v.protocol;
    }
    // The register still answers the request the killed run sent last; a run started
    // within that reply would take it for the answer to its own first request.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Named after the factory number of the connection check's answer.
    const std::string path = dir.file("SN4000000001.talqen.db");
    std::vector<std::int32_t> kept;
    archived_journal_text(path, &kept);
    EXPECT_GE(kept.size(), 12u) << v.protocol;
    EXPECT_LT(kept.size(), 33u) << v.protocol;

    const ArchiveRun resumed = cli_in(dir, sim, v, "archive");
    EXPECT_EQ(resumed.exit_code, 0) << v.protocol << resumed.err;
    EXPECT_EQ(resumed.out, "held " + std::to_string(kept.size()) + ", fetched " + std::to_string(33 - kept.size()) +
                               ", absent 0, incomplete 0\n")
        << v.protocol;
    std::vector<std::int32_t> numbers;
    archived_journal_text(path, &numbers);
    const auto exported = run_program(std::string(TALQEN_CLI) + " export --db " + path + " --format xml");
    EXPECT_EQ(exported.exit_code, 0) << v.protocol;
    EXPECT_EQ(exported.output, fetched) << v.protocol;
    EXPECT_EQ(numbers, [] {
      std::vector<std::int32_t> all;
      for (std::int32_t n = 1; n <= 33; ++n) all.push_back(n);
      return all;
    }()) << v.protocol;

    const std::size_t before_up_to_date = read_file(log).size();
    const ArchiveRun up_to_date = cli_in(dir, sim, v, "archive");
    EXPECT_EQ(up_to_date.exit_code, 0) << v.protocol << up_to_date.err;
    EXPECT_EQ(up_to_date.out, "held 33, fetched 0, absent 0, incomplete 0\n") << v.protocol;
    const char* diagnostic = &v.policy == &device_link::kDatecsPolicy ? "5A" : "80";
    // The simulator logs a request once its answer is out: the client may be done first.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (commands_since(read_file(log), before_up_to_date).size() < 2 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(commands_since(read_file(log), before_up_to_date), (std::vector<std::string>{diagnostic, "EE"}))
        << v.protocol;
  }
}

TEST(ArchiveAgainstSim, ADocumentTheRegisterDidNotAnswerIsAskedAgainNextRun) {
  // The first fragment of document 3 is never answered, and neither asked again nor
  // repeated: that is no word from the register that it has no document 3, though it
  // lies below the register's last number. (Request 2 is the question for that number.)
  for (const Variant& v : kVariants) {
    SimProcess sim = start_sim(v, {"--fault", fault(request_of(v, 3, 0) + 1, "silence")});
    ASSERT_TRUE(sim.ready());
    TempDir dir;
    const ArchiveRun first = cli_in(dir, sim, v, "--on-timeout continue --retries 0 archive", kNoRepeats);
    EXPECT_EQ(first.exit_code, 1) << v.protocol << first.err;
    EXPECT_EQ(first.out, "held 0, fetched 32, absent 0, incomplete 1\n") << v.protocol;
    const ArchiveRun second = cli_in(dir, sim, v, "archive", kNoRepeats);
    EXPECT_EQ(second.exit_code, 0) << v.protocol << second.err;
    EXPECT_EQ(second.out, "held 32, fetched 1, absent 0, incomplete 0\n") << v.protocol;
  }
}

// The sample tape with documents first to last (from 1) naming another register: its own
// factory and fiscal numbers in their DAT.
std::string tape_naming_another_register(int first, int last) {
  std::string text = sim::sample_journal_text();
  int document = 0;
  for (std::size_t at = text.find("<DAT "); at != std::string::npos; at = text.find("<DAT ", at + 1)) {
    if (++document < first || document > last) continue;
    const std::size_t tag_end = text.find('>', at);
    for (const auto& [own, other] : {std::pair{"4000000001", "4000000002"}, std::pair{"3000000001", "3000000002"}}) {
      const std::size_t number = text.find(own, at);
      if (number < tag_end) text.replace(number, 10, other);
    }
  }
  return text;
}

TEST(ArchiveAgainstSim, DocumentsOfAnotherRegisterAreNeverMixedIn) {
  struct Case {
    const char* what;
    std::string tape;
    const char* answer;  // the factory number the other register's connection check gives
    std::string refusal;
    std::vector<std::int32_t> kept;  // after an archive of documents 1 to 3 of the sample
  };
  const Case cases[] = {
      {"an archive of another register", tape_naming_another_register(1, 33), "SN4000000002",
       "is the archive of register SN4000000001", {1, 2, 3}},
      // The same answer, as a register whose check the archive cannot tell apart: its tape tells.
      {"one document of another register", tape_naming_another_register(4, 4), "SN4000000001",
       "document 4 is of register 4000000002", {1, 2, 3}},
  };
  for (const Variant& v : kVariants) {
    for (const Case& c : cases) {
      TempDir dir;
      {
        SimProcess own = start_sim(v, answer_spelled_otherwise());
        ASSERT_TRUE(own.ready());
        ASSERT_EQ(cli_in(dir, own, v, "archive --db tape.db 1 3").exit_code, 0) << v.protocol << c.what;
      }
      write_file(dir.file("tape.xml"), c.tape);
      std::vector<std::string> other_options = {"--protocol", v.protocol, "--journal", dir.file("tape.xml"), "--log",
                                                dir.file("sim.log")};
      for (const std::string& a : answer_spelled_otherwise(c.answer)) other_options.push_back(a);
      SimProcess other(other_options);
      ASSERT_TRUE(other.ready());
      const ArchiveRun run = cli_in(dir, other, v, "archive --db tape.db 1 6");
      EXPECT_EQ(run.exit_code, 1) << v.protocol << " " << c.what;
      EXPECT_TRUE(contains(run.err, c.refusal)) << v.protocol << " " << c.what << ": " << run.err;
      std::vector<std::int32_t> kept;
      archived_journal_text(dir.file("tape.db"), &kept);
      EXPECT_EQ(kept, c.kept) << v.protocol << " " << c.what;
      // Refused before anything was asked, or at the document that names the other one.
      const bool whole_archive = c.refusal.find("is the archive") != std::string::npos;
      EXPECT_EQ(contains(read_file(dir.file("sim.log")), "CMD A7"), !whole_archive) << v.protocol << " " << c.what;
    }
  }
}

// The document numbers of the read-document requests since the log had `from` bytes.
std::vector<long> documents_asked(const std::string& log, std::size_t from = 0) {
  std::vector<long> asked;
  const std::string tail = log.substr(from);
  const std::regex first_fragment("CMD A7 DATA \\[[^\\]]*\\] \"(?:271828;)?1[;,](\\d+)[;,]0;?\"");
  for (auto it = std::sregex_iterator(tail.begin(), tail.end(), first_fragment); it != std::sregex_iterator(); ++it)
    asked.push_back(std::stol((*it)[1]));
  return asked;
}

// The note of verify on the numbers below a tape that begins at `first`.
std::string tape_begins_at(long first) {
  return "note\tdocument 1-" + std::to_string(first - 1) + "\tZ -\tthe register's tape begins at " +
         std::to_string(first) + "\texpected -\tfound -\tdifference -\n";
}

TEST(ArchiveAgainstSim, TheFirstFillAsksTheTapeFromWhereItBeginsAndVerifyNamesThatOnce) {
  struct Case {
    const char* what;
    long first_number;
    std::vector<std::string> faults;
    const char* summary;
    long lowest_asked;
  };
  const Case cases[] = {
      {"a tape from 4188", 4188, {}, "held 0, fetched 33, absent 0, incomplete 0\n", 4188},
      // Field 1 of the answer to the widest span is no number: the fill asks from 1.
      {"no beginning in the answer", 5, {"--fault", fault(2, "bad-number")}, "held 0, fetched 33, absent 4, incomplete 0\n",
       1},
  };
  for (const Variant& v : kVariants) {
    for (const Case& c : cases) {
      TempDir dir;
      const std::string log = dir.file("sim.log");
      std::vector<std::string> options = {"--first-number", std::to_string(c.first_number), "--log", log};
      options.insert(options.end(), c.faults.begin(), c.faults.end());
      SimProcess sim = start_sim(v, options);
      ASSERT_TRUE(sim.ready());
      const ArchiveRun run = cli_in(dir, sim, v, "archive --db tape.db", kNoRepeats);
      EXPECT_EQ(run.exit_code, 0) << v.protocol << " " << c.what << run.err;
      EXPECT_EQ(run.out, c.summary) << v.protocol << " " << c.what;
      EXPECT_EQ(contains(run.err, "РРО не сообщил номер первого документа ленты: запрос с номера 1\n"), c.lowest_asked == 1)
          << v.protocol << " " << c.what << ": " << run.err;
      const std::vector<long> asked = documents_asked(read_file(log));
      ASSERT_FALSE(asked.empty()) << v.protocol << " " << c.what;
      EXPECT_EQ(*std::min_element(asked.begin(), asked.end()), c.lowest_asked) << v.protocol << " " << c.what;
      EXPECT_EQ(asked.size(), static_cast<std::size_t>(c.first_number + 33 - c.lowest_asked)) << v.protocol << " " << c.what;
      std::vector<std::int32_t> held;
      archived_journal_text(dir.file("tape.db"), &held);
      ASSERT_EQ(held.size(), 33u) << v.protocol << " " << c.what;
      EXPECT_EQ(held.front(), c.first_number) << v.protocol << " " << c.what;
      EXPECT_EQ(held.back(), c.first_number + 32) << v.protocol << " " << c.what;

      // Asked from 1, the numbers below are absent: the archive knows the tape's beginning all the same.
      const CliOutcome verified = talqen_cli(dir, "verify --db tape.db");
      EXPECT_EQ(verified.exit_code, 0) << v.protocol << " " << c.what << verified.err;
      EXPECT_TRUE(verified.out.starts_with(tape_begins_at(c.first_number))) << v.protocol << " " << c.what << verified.out;
      EXPECT_TRUE(verified.out.ends_with("summary\tdocuments 33\tZ-reports 3, checked 2\tfindings 0\n"))
          << v.protocol << " " << c.what << verified.out;
    }
  }
}

TEST(ArchiveAgainstSim, AnArchiveFilledFromOneByAnEarlierProgramIsVerifiedFromTheTapesBeginning) {
  const Variant& quendar = kVariants[1];
  TempDir dir;
  const std::string log = dir.file("sim.log");
  // One exchange a number below the tape: a tape from 300 is asked in a second or two.
  SimProcess sim = start_sim(quendar, {"--first-number", "300", "--log", log});
  ASSERT_TRUE(sim.ready());
  // FIRST given: asked from it, the numbers below the tape noted as absent, as every
  // fill did before the archive kept where the tape begins. Then the file as that
  // program left it: schema 2, which had no such table.
  const ArchiveRun from_one = cli_in(dir, sim, quendar, "archive --db tape.db 1", kNoRepeats);
  ASSERT_EQ(from_one.exit_code, 0) << from_one.err;
  EXPECT_EQ(from_one.out, "held 0, fetched 33, absent 299, incomplete 0\n");
  {
    archive::Database db(dir.file("tape.db"), archive::Database::Mode::ReadWriteCreate);
    db.execute("DROP TABLE tape_beginning; PRAGMA user_version = 2;");
  }

  const CliOutcome verified = talqen_cli(dir, "verify --db tape.db");
  EXPECT_EQ(verified.exit_code, 0) << verified.err;
  EXPECT_TRUE(verified.out.starts_with(tape_begins_at(300))) << verified.out;
  EXPECT_EQ(verified.out.find("tape begins"), verified.out.rfind("tape begins")) << verified.out;
  EXPECT_TRUE(verified.out.ends_with("\tfindings 0\n")) << verified.out;
  {
    const archive::Database db(dir.file("tape.db"), archive::Database::Mode::ReadOnly);
    EXPECT_EQ(db.single_integer("PRAGMA user_version"), archive::kSchemaVersion);  // upgraded in place by verify
  }
  {
    const archive::TapeArchive upgraded = archive::TapeArchive::open_existing(dir.file("tape.db"));
    EXPECT_EQ(upgraded.absent_count(1, 299), 299);  // the register's word, kept
    ASSERT_TRUE(upgraded.tape_beginning());
    EXPECT_EQ(upgraded.tape_beginning()->first_number, 300);
  }

  const std::size_t before = read_file(log).size();
  const ArchiveRun up_to_date = cli_in(dir, sim, quendar, "archive --db tape.db", kNoRepeats);
  EXPECT_EQ(up_to_date.exit_code, 0) << up_to_date.err;
  EXPECT_EQ(up_to_date.out, "held 33, fetched 0, absent 0, incomplete 0\n");
  EXPECT_EQ(documents_asked(read_file(log), before), std::vector<long>{});
}

TEST(ArchiveAgainstSim, CarelessRangesAreUsageErrors) {
  const Variant& datecs = kVariants[0];
  SimProcess sim = start_sim(datecs);
  ASSERT_TRUE(sim.ready());
  for (const char* arguments : {"archive 5 4", "archive 0", "archive 1 2 3", "archive x", "archive --kind z"}) {
    TempDir dir;
    const ArchiveRun run = cli_in(dir, sim, datecs, arguments);
    EXPECT_EQ(run.exit_code, 2) << arguments;
    EXPECT_TRUE(contains(run.err, "talqen-cli archive: ")) << arguments << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("4000000001.talqen.db"))) << arguments;
  }
}

}  // namespace
