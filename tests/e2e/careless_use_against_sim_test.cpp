// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli as a new user meets it, careless input included, against talqen-sim: a wrong
// password, a file named twice, a second user on the same pseudo-terminal, the end of the
// tape, dates that do not exist, signals in the middle, settings stored by detect.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_process.hpp"
#include "fetch_helpers.hpp"

namespace {

using namespace e2e;

// Documents 1 to kept of the sample, counted from a temp.xml; 33 when it is none of them.
std::size_t documents_in(const std::string& temp_xml) {
  std::size_t kept = 0;
  while (kept < 33 && temp_xml != journal_text_of(numbers(1, static_cast<long>(kept)))) ++kept;
  return kept;
}

bool wait_for(const std::string& path, const std::string& part, int timeout_s) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_s);
  while (!contains(read_file(path), part))
    if (std::chrono::steady_clock::now() > deadline) return false;
    else std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return true;
}

// The saved form of shown lines: Windows-1251, CR LF.
std::string saved_form(const std::string& utf8_lines) {
  std::string saved;
  for (char c : text::from_utf8(utf8_lines)) saved += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return saved;
}

TEST(CarelessUse, RefusalsAndMistakesNeverSpoilAFile) {
  const std::string kept = "documents of yesterday\r\n";
  struct Case {
    const char* what;
    int variant;
    std::vector<std::string> sim_extra;
    std::string arguments;
    int exit_code;
    std::vector<long> saved;     // the documents in keep.txt afterwards; none: it is kept as it was
    std::string err_has;
  };
  const Case cases[] = {
      {"wrong password", 1, {}, "--password 1234 fetch 1 33 -o keep.txt", 1, {}, "РРО вернул ошибку: 0006"},
      {"datecs refusal at document 3", 0, {"--fault", fault(request_of(kVariants[0], 3, 0), "error=0101")},
       "fetch 1 5 -o keep.txt", 1, {1, 2}, "Документы 4–5 не запрошены"},
      {"last before first", 0, {}, "fetch 5 1 -o keep.txt", 2, {}, "talqen-cli --help"},
      {"first below 1", 0, {}, "fetch 0 3 -o keep.txt", 2, {}, "FIRST"},
      {"-o names the journal text", 0, {}, "fetch 1 3 -o ./temp.xml", 2, {}, "temp.xml"},
      {"no documents in the span", 1, {}, "fetch-dates --from 01.06.24 --to 02.06.24 -o keep.txt", 1, {},
       "РРО вернул ошибку:  0202 !"},
  };
  for (const Case& c : cases) {
    const Variant& v = kVariants[c.variant];
    SimProcess sim = start_sim(v, c.sim_extra);
    ASSERT_TRUE(sim.ready()) << c.what;
    TempDir dir;
    write_file(dir.file("fpinit.ini"), kRepeatOnce);
    write_file(dir.file("keep.txt"), kept);
    const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " --port " + sim.port() +
                                 " --protocol " + v.protocol + " " + c.arguments + " 2>err.txt");
    const std::string err = read_file(dir.file("err.txt"));
    EXPECT_EQ(run.exit_code, c.exit_code) << c.what << "\n" << err;
    EXPECT_EQ(run.output, "") << c.what;  // data goes to the file, talk to stderr
    EXPECT_TRUE(contains(err, c.err_has)) << c.what << "\n" << err;
    const std::string expected = c.saved.empty() ? kept : saved_form(shown_lines(journal_text_of(c.saved)));
    EXPECT_EQ(read_file(dir.file("keep.txt")), expected) << c.what;
  }
}

TEST(CarelessUse, SecondRunOfAnotherUserOnTheSamePty) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run talqen-cli as nobody";
  if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "no setpriv";
  SimProcess sim = start_sim(kVariants[0]);
  ASSERT_TRUE(sim.ready());
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(sim.port().c_str(), 0666), 0);
  for (int run_number = 1; run_number <= 2; ++run_number) {
    const auto run = run_program("cd " + dir.path().string() + " && setpriv --reuid=nobody --regid=nogroup --clear-groups " +
                                 TALQEN_CLI + " --port " + sim.port() + " diagnose 2>&1");
    EXPECT_EQ(run.exit_code, 0) << "run " << run_number << ": " << run.output;
  }
}

TEST(CarelessUse, ToTheEndOfTheTape) {
  for (const Variant& v : kVariants) {
    TempDir logs;
    SimProcess sim = start_sim(v, {"--log", logs.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    const CliRun fetched = cli(sim, v, "fetch 30 end");
    EXPECT_EQ(fetched.exit_code, 0) << v.protocol << fetched.err;
    EXPECT_EQ(fetched.temp_xml, journal_text_of(numbers(30, 33))) << v.protocol;
    EXPECT_EQ(fetched.out, shown_lines(fetched.temp_xml));
    const CliRun printed = cli(sim, v, "print 32 END --yes");
    EXPECT_EQ(printed.exit_code, 0) << v.protocol << printed.err;
    sim.stop();
    EXPECT_TRUE(contains(read_file(logs.file("sim.log")), "-> printing documents 32 to 33")) << v.protocol;
  }
}

TEST(CarelessUse, DatesAreCheckedBeforeAnythingIsSent) {
  const Variant& datecs = kVariants[0];
  TempDir logs;
  SimProcess sim = start_sim(datecs, {"--log", logs.file("sim.log")});
  ASSERT_TRUE(sim.ready());
  struct Case {
    std::string arguments;
    std::string err_has;
  };
  const Case refused[] = {
      {"numbers --from 31.02.24", "--from 31.02.24"},
      {"numbers --from 29.02.23", "--from 29.02.23"},
      {"fetch-dates --to 14.13.24", "--to 14.13.24"},
      {"fetch-dates --from-time 25:00", "--from-time 25:00"},
      {"numbers --to-time 12:60", "--to-time 12:60"},
      {"numbers --from 15.05.24 --to 14.05.24", "Конечная дата должна быть не меньше начальной!"},
  };
  for (const Case& c : refused) {
    const CliRun run = cli(sim, datecs, c.arguments);
    EXPECT_EQ(run.exit_code, 2) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_TRUE(contains(run.err, c.err_has)) << c.arguments << "\n" << run.err;
  }
  // --to without --to-time is the whole day, whatever the clock says.
  const CliRun day = cli(sim, datecs, "numbers --from 14.05.24 --to 14.05.24");
  EXPECT_EQ(day.exit_code, 0) << day.err;
  EXPECT_EQ(day.out, "12 22\n");
  sim.stop();
  // The refused ones sent nothing: the one search is the day's.
  const std::string log = read_file(logs.file("sim.log"));
  EXPECT_EQ(log.find("CMD EE"), log.rfind("CMD EE")) << log;
}

TEST(CarelessUse, SignalsInTheMiddleKeepEveryWholeDocument) {
  struct Case {
    const char* what;
    std::vector<int> signals;
    int exit_code;
  };
  const Case cases[] = {
      {"SIGTERM", {SIGTERM}, 143},
      {"SIGHUP", {SIGHUP}, 129},
      {"Ctrl-C twice", {SIGINT, SIGINT}, 130},
  };
  for (const Case& c : cases) {
    const Variant& v = kVariants[c.signals.size() == 2 ? 1 : 0];
    TempDir dir;
    // Slow replies, so that the retrieval is surely under way when it is interrupted.
    SimProcess sim = start_sim(v, {"--latency", "30", "--log", dir.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    write_file(dir.file("fpinit.ini"), kRepeatOnce);
    CliProcess run(dir.path().string(), {"--port", sim.port(), "--protocol", v.protocol, "fetch", "1", "33", "-o", "out.txt"});
    ASSERT_TRUE(wait_for(dir.file("sim.log"), "of document 3 ", 20)) << c.what;
    for (int sig : c.signals) run.signal(sig);
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_EQ(run.wait(20000), c.exit_code) << c.what;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - signalled;
    const std::string temp_xml = read_file(dir.file("temp.xml"));
    const std::size_t kept = documents_in(temp_xml);
    EXPECT_GE(kept, 2u) << c.what;
    EXPECT_LT(kept, 33u) << c.what;
    EXPECT_EQ(read_file(dir.file("out.txt")), saved_form(shown_lines(temp_xml))) << c.what;
    const std::string err = read_file(dir.file("stderr.txt"));
    EXPECT_TRUE(contains(err, "Сохранено документов: " + std::to_string(kept) + "\n")) << c.what << "\n" << err;
    EXPECT_TRUE(contains(err, "–33 не запрошены\n")) << c.what << "\n" << err;
    if (c.signals.size() == 2) {
      EXPECT_LT(took.count(), 1.0) << c.what;
    }
    std::printf("[ signal ] %-12s ended %.2f s after it, documents 1 to %zu kept\n", c.what, took.count(), kept);
  }
}

// A register that falls silent in the middle of a retrieval: a stop is not kept waiting
// for the rest of a five-second silence, and what came before is written.
TEST(CarelessUse, StopInASilentWaitEndsWithinHalfASecond) {
  for (const Variant& v : kVariants) {
    TempDir dir;
    // Requests 2 to 5 fetch document 1; the register says nothing to the sixth.
    SimProcess sim = start_sim(v, {"--fault", "6:silence", "--log", dir.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    write_file(dir.file("fpinit.ini"), kRepeatOnce);
    CliProcess run(dir.path().string(), {"--port", sim.port(), "--protocol", v.protocol, "fetch", "1", "3", "-o", "out.txt"});
    ASSERT_TRUE(wait_for(dir.file("sim.log"), "of document 2 ", 20)) << v.protocol;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    run.signal(SIGTERM);
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_EQ(run.wait(10000), 143) << v.protocol;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - signalled;
    EXPECT_LT(took.count(), 0.5) << v.protocol;
    EXPECT_EQ(read_file(dir.file("temp.xml")), journal_text_of({1})) << v.protocol;
    EXPECT_EQ(read_file(dir.file("out.txt")), saved_form(shown_lines(journal_text_of({1})))) << v.protocol;
    EXPECT_TRUE(contains(read_file(dir.file("stderr.txt")), "Документы 2–3 не запрошены\n")) << v.protocol;
  }
}

// A register that never answers: the command is in its first wait when the signal comes.
// detect gets a pseudo-terminal nobody answers on, so that it is still probing.
TEST(CarelessUse, SignalWhileConnectingOrDetectingEndsAtOnce) {
  const int silent = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(silent, 0);
  ASSERT_EQ(::grantpt(silent), 0);
  ASSERT_EQ(::unlockpt(silent), 0);
  const std::string silent_path = ::ptsname(silent);
  struct Case {
    const char* what;
    int variant;
    std::vector<std::string> arguments;  // {} for detect on the simulator's port
    int sig;
    int exit_code;
  };
  const Case cases[] = {
      {"Ctrl-C while connecting (datecs)", 0, {"fetch", "1", "3"}, SIGINT, 130},
      {"SIGTERM while connecting (quendar)", 1, {"numbers"}, SIGTERM, 143},
      {"Ctrl-C in detect", 0, {}, SIGINT, 130},
  };
  for (const Case& c : cases) {
    const Variant& v = kVariants[c.variant];
    SimProcess sim = start_sim(v, {"--fault", "1:silence"});
    ASSERT_TRUE(sim.ready()) << c.what;
    TempDir dir;
    write_file(dir.file("fpinit.ini"), kRepeatOnce);
    std::vector<std::string> args = {"--port", sim.port(), "--protocol", v.protocol};
    if (c.arguments.empty()) args = {"detect", silent_path};
    args.insert(args.end(), c.arguments.begin(), c.arguments.end());
    CliProcess run(dir.path().string(), args);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    run.signal(c.sig);
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_EQ(run.wait(10000), c.exit_code) << c.what;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - signalled;
    EXPECT_LT(took.count(), 0.5) << c.what;
    EXPECT_EQ(read_file(dir.file("stdout.txt")), "") << c.what;  // no success reported
    EXPECT_NE(read_file(dir.file("stderr.txt")), "") << c.what;
  }
  ::close(silent);
}

TEST(CarelessUse, SettingsStoredByDetectServeTheNextCommands) {
  const Variant& quendar = kVariants[1];
  SimProcess sim = start_sim(quendar, {"--baud", "57600"});
  ASSERT_TRUE(sim.ready());
  TempDir dir;
  const auto in_dir = [&](const std::string& arguments) {
    return run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " " + arguments + " 2>err.txt");
  };
  ASSERT_EQ(in_dir("detect --write-config " + sim.port()).exit_code, 0) << read_file(dir.file("err.txt"));
  const std::string stored = read_file(dir.file("fpinit.ini"));
  EXPECT_TRUE(contains(stored, "Protocol=quendar\r\n")) << stored;
  const auto fetched = in_dir("fetch 1 2");
  EXPECT_EQ(fetched.exit_code, 0) << read_file(dir.file("err.txt"));
  EXPECT_EQ(read_file(dir.file("temp.xml")), journal_text_of({1, 2}));
  EXPECT_EQ(read_file(dir.file("fpinit.ini")), stored);  // the speed it used is the stored one

  // A speed given on the command line wins, and a wrong one is explained.
  const auto wrong_speed = in_dir("--speed 9600 fetch 1 2");
  EXPECT_EQ(wrong_speed.exit_code, 1);
  EXPECT_TRUE(contains(read_file(dir.file("err.txt")), "talqen-cli detect")) << read_file(dir.file("err.txt"));
  EXPECT_EQ(read_file(dir.file("fpinit.ini")), stored);
}

}  // namespace
