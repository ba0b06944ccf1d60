// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli fetch, fetch-dates, numbers and print against talqen-sim with its sample
// journal, in both variants: what reaches temp.xml, the screen and the -o file, and what
// happens when the line or the register fails in the middle of a retrieval.
#include <gtest/gtest.h>

#include <csignal>
#include <regex>
#include <string>
#include <vector>

#include "cli_process.hpp"
#include "fetch_helpers.hpp"
#include "link/clock.hpp"
#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "link/variant_policy.hpp"
#include "retrieval/journal_window_logic.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "sim/fiscal_register.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "sim_process.hpp"
#include "support/run_program.hpp"
#include "support/scripted_dialogs.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace e2e;
using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;
using testing_support::write_file;

TEST(FetchAgainstSim, EveryDocumentOfTheTapeByteForByte) {
  for (const Variant& v : kVariants) {
    SimProcess sim = start_sim(v);
    ASSERT_TRUE(sim.ready());
    TempDir dir;
    const auto run = run_program("cd " + dir.path().string() + " && " + TALQEN_CLI + " --port " + sim.port() +
                                 " --protocol " + v.protocol + " fetch 1 33 -o out.txt 2>err.txt");
    EXPECT_EQ(run.exit_code, 0) << v.protocol << read_file(dir.file("err.txt"));
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(read_file(dir.file("temp.xml")), sim::sample_journal_text()) << v.protocol;
    std::string saved;
    for (char c : text::from_utf8(shown_lines(sim::sample_journal_text())))
      saved += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(read_file(dir.file("out.txt")), saved) << v.protocol;
  }
}

TEST(FetchAgainstSim, DatecsQuickEndKeepsEveryByte) {
  const Variant& datecs = kVariants[0];
  SimProcess sim = start_sim(datecs);
  ASSERT_TRUE(sim.ready());
  const CliRun by_option = cli(sim, datecs, "--quick-end fetch 1 33");
  EXPECT_EQ(by_option.exit_code, 0) << by_option.err;
  EXPECT_EQ(by_option.temp_xml, sim::sample_journal_text());
  EXPECT_EQ(by_option.out, shown_lines(by_option.temp_xml));
  const CliRun by_file = cli(sim, datecs, "fetch 1 5", "[Fiscal Printer]\r\nQuickEnd=1\r\n");
  EXPECT_EQ(by_file.temp_xml, journal_text_of(numbers(1, 5)));
  // Five documents end at their terminators: far below the 100 ms wait of each exchange.
  EXPECT_LT(by_file.seconds, 2.0);
}

TEST(FetchAgainstSim, NumbersTheRegisterHasAndHasNot) {
  struct Case {
    const char* what;
    std::string arguments;
    render::DocumentKind kind;
    std::string temp_xml;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"two of four numbers exist", "fetch --kind receipt 32 35", render::DocumentKind::Receipts, journal_text_of({32, 33}), {"000000150"}},
      {"Z-reports by Z number", "fetch --kind z 41 43", render::DocumentKind::ZReports, journal_text_of({11, 22, 33}),
       {"Z-звіт N 41", "Z-звіт N 42", "Z-звіт N 43"}},
  };
  for (const Variant& v : kVariants) {
    SimProcess sim = start_sim(v);
    ASSERT_TRUE(sim.ready());
    for (const Case& c : cases) {
      const CliRun run = cli(sim, v, c.arguments);
      EXPECT_EQ(run.exit_code, 0) << v.protocol << " " << c.what << run.err;
      EXPECT_EQ(run.temp_xml, c.temp_xml) << v.protocol << " " << c.what;
      EXPECT_EQ(run.out, shown_lines(c.temp_xml, c.kind)) << v.protocol << " " << c.what;
      for (const std::string& s : c.shown) EXPECT_TRUE(contains(run.out, s)) << c.what << ": " << s;
    }
  }
}

TEST(FetchAgainstSim, ADocumentOfThreeFragments) {
  for (const Variant& v : kVariants) {
    TempDir dir;
    SimProcess sim = start_sim(v, {"--log", dir.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    const CliRun run = cli(sim, v, "fetch 1 1");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.temp_xml, journal_text_of({1}));
    sim.stop();
    // Fragments 0, 1 and 2 carry the document, the answer to 3 ends it.
    const std::string log = read_file(dir.file("sim.log"));
    std::vector<std::string> answers;
    const std::regex read_document("CMD A7 .*-> (.*)");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), read_document); it != std::sregex_iterator(); ++it)
      answers.push_back((*it)[1].str().substr(0, (*it)[1].str().find(" (0000)")));
    EXPECT_EQ(answers, (std::vector<std::string>{"fragment 0 of document 1 (1 of 3)", "fragment 1 of document 1 (2 of 3)",
                                                 "fragment 2 of document 1 (3 of 3)", "end of document 1"}))
        << v.protocol << "\n" << log;
  }
}

TEST(FetchAgainstSim, ADaySpanAsNumbersAndAsDocuments) {
  const std::string day = "--from 14.05.24 --from-time 00:00 --to 14.05.24 --to-time 23:59";
  for (const Variant& v : kVariants) {
    SimProcess sim = start_sim(v);
    ASSERT_TRUE(sim.ready());
    const CliRun found = cli(sim, v, "numbers " + day);
    EXPECT_EQ(found.exit_code, 0) << found.err;
    EXPECT_EQ(found.out, "12 22\n");
    const CliRun fetched = cli(sim, v, "fetch-dates " + day);
    EXPECT_EQ(fetched.exit_code, 0) << fetched.err;
    EXPECT_EQ(fetched.temp_xml, journal_text_of(numbers(12, 22)));
    EXPECT_EQ(fetched.out, shown_lines(fetched.temp_xml));
    const CliRun none = cli(sim, v, "fetch-dates --from 01.06.24 --to 02.06.24");
    EXPECT_EQ(none.exit_code, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(contains(none.err, v.policy.reply_has_error_code ? "РРО вернул ошибку:  0202 !\n" : "РРО вернул ошибку:   !\n"))
        << none.err;
  }
}

TEST(FetchAgainstSim, ReturnNumbersWithAnErrorCode) {
  const Variant& quendar = kVariants[1];
  SimProcess sim = start_sim(quendar, {"--fault", fault(2, "error=0601")});
  ASSERT_TRUE(sim.ready());
  const CliRun run = cli(sim, quendar, "numbers --from 14.05.24 --to 14.05.24");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");  // no figures the register did not give
  EXPECT_TRUE(contains(run.err, "Error: РРО вернул ошибку:0601\n")) << run.err;
}

TEST(FetchAgainstSim, DatecsTimeOutAnsweredContinueOrCancel) {
  // Document 2's second fragment is never answered once. Asked again, it comes whole;
  // without a retry it is left out and named: continue goes on with document 3, cancel
  // stops after document 2 and names what was not asked.
  const Variant& datecs = kVariants[0];
  struct Case {
    std::string arguments;
    std::vector<long> kept;
    std::string err;
    int exit_code;  // 0: every document came whole in the end
  };
  const std::string question = "Таймаут: Для продолжения нажмите ";
  const Case cases[] = {
      {"--on-timeout continue fetch 1 3", {1, 2, 3}, question + "[continue]\n", 0},
      {"--on-timeout retry --retries 0 fetch 1 3", {1, 3}, question + "[continue]\nДокумент 2 получен не полностью\n", 1},
      {"--on-timeout cancel --retries 0 fetch 1 3", {1},
       question + "[cancel]\nДокумент 2 получен не полностью\nДокумент 3 не запрошен\nСохранено документов: 1\n", 1},
  };
  for (const Case& c : cases) {
    SimProcess sim = start_sim(datecs, {"--fault", fault(request_of(datecs, 2, 1), "silence")});
    ASSERT_TRUE(sim.ready());
    const CliRun run = cli(sim, datecs, c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments;
    EXPECT_EQ(run.temp_xml, journal_text_of(c.kept)) << c.arguments;
    EXPECT_EQ(run.out, shown_lines(run.temp_xml)) << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
  }
}

TEST(FetchAgainstSim, QuendarReplyLostInTheMiddleOfADocument) {
  const Variant& quendar = kVariants[1];
  SimProcess sim = start_sim(quendar, {"--fault", fault(request_of(quendar, 2, 2), "silence")});
  ASSERT_TRUE(sim.ready());
  const CliRun run = cli(sim, quendar, "--retries 0 fetch 1 3", kNoRepeats);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.temp_xml, journal_text_of({1, 3}));
  EXPECT_EQ(run.out, shown_lines(run.temp_xml));
  EXPECT_TRUE(contains(run.err, "Документ 2 получен не полностью\n")) << run.err;
}

TEST(FetchAgainstSim, AFieldOneThatIsNoNumberKeepsTheDocumentsBeforeIt) {
  for (const Variant& v : kVariants) {
    SimProcess sim = start_sim(v, {"--fault", fault(request_of(v, 3, 1), "bad-number")});
    ASSERT_TRUE(sim.ready());
    const CliRun run = cli(sim, v, "fetch 1 5");
    EXPECT_EQ(run.exit_code, 1) << v.protocol;
    EXPECT_EQ(run.temp_xml, journal_text_of({1, 2})) << v.protocol;
    EXPECT_EQ(run.out, shown_lines(run.temp_xml)) << v.protocol;
    EXPECT_TRUE(contains(run.err, kFailure1 + "\n" + kFailure2 + "\n")) << v.protocol << run.err;
  }
}

TEST(FetchAgainstSim, CtrlCStopsAfterTheCurrentDocumentAndKeepsWhatWasFetched) {
  for (const Variant& v : kVariants) {
    TempDir dir;
    // Slow replies, so that the retrieval is surely under way when it is interrupted.
    SimProcess sim = start_sim(v, {"--latency", "30", "--log", dir.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    CliProcess run(dir.path().string(), {"--port", sim.port(), "--protocol", v.protocol, "fetch", "1", "33"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!contains(read_file(dir.file("sim.log")), "of document 3 ") && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    run.signal(SIGINT);
    EXPECT_EQ(run.wait(20000), 130) << v.protocol;
    const std::string temp_xml = read_file(dir.file("temp.xml"));
    // Documents 1 to 3 at least, and never all: the retrieval stopped early.
    std::size_t kept = 0;
    while (kept < 33 && temp_xml != journal_text_of(numbers(1, static_cast<long>(kept)))) ++kept;
    EXPECT_GE(kept, 3u) << v.protocol << temp_xml.size();
    EXPECT_LT(kept, 33u) << v.protocol;
    EXPECT_EQ(read_file(dir.file("stdout.txt")), shown_lines(temp_xml)) << v.protocol;
  }
}

TEST(FetchAgainstSim, CommandLineMistakesAreUsageErrors) {
  const Variant& datecs = kVariants[0];
  SimProcess sim = start_sim(datecs);
  ASSERT_TRUE(sim.ready());
  for (const std::string& arguments :
       {std::string("fetch 1"), std::string("fetch a 3"), std::string("fetch --kind all 1 3"),
        std::string("fetch-dates --from 1.5.24"), std::string("numbers --to-time 7"), std::string("print 1"),
        std::string("fetch 1 3 --colour red")}) {
    const CliRun run = cli(sim, datecs, arguments);
    EXPECT_EQ(run.exit_code, 2) << arguments;
    EXPECT_TRUE(contains(run.err, "talqen-cli ")) << arguments << ": " << run.err;
  }
  const CliRun rejected = cli(sim, datecs, "fetch 5 4");
  EXPECT_EQ(rejected.exit_code, 2);
  EXPECT_TRUE(contains(rejected.err, "LAST must not be less than FIRST"));
  EXPECT_EQ(rejected.temp_xml, "");
}

// The journal window in this process on the program's drivers, over the simulator's
// pseudo-terminal: a retrieval in "Чек+Z-отчет" mode links Z-reports to the numbers they
// were requested by, and printing Z-reports sends those numbers.
TEST(FetchAgainstSim, PrintingZReportsByTheDocumentsTheyWereFetchedAs) {
  const auto receipt = [](int n) {
    return "<DAT FN=\"1\" ZN=\"2\" DI=\"" + std::to_string(n) +
           "\"><C T=\"0\"><P N=\"1\" NM=\"Bread\" SM=\"1250\" TX=\"1\"/><E N=\"2\" NO=\"" + std::to_string(n) +
           "\" SM=\"1250\" TX=\"1\" TXPR=\"20\" TXSM=\"208\" CS=\"1\"/></C><TS>20240501120000</TS></DAT><MAC/>";
  };
  const auto zreport = [](int n, int z) {
    return "<DAT FN=\"1\" ZN=\"2\" DI=\"" + std::to_string(n) + "\"><Z NO=\"" + std::to_string(z) +
           "\"/><TS>20240501235900</TS></DAT><MAC/>";
  };
  for (const Variant& v : kVariants) {
    TempDir dir;
    write_file(dir.file("journal.xml"), "<RQ V=\"1\">" + receipt(10) + zreport(11, 5) + receipt(13) + zreport(14, 6) + "</RQ>");
    SimProcess sim({"--protocol", v.protocol, "--journal", dir.file("journal.xml"), "--log", dir.file("sim.log")});
    ASSERT_TRUE(sim.ready());
    const bool datecs = &v.policy == &device_link::kDatecsPolicy;
    ASSERT_EQ(datecs ? datecs::open_port(sim.port(), 9600) : quendar::open_port(sim.port(), 9600), 0);

    messages::ProgramState program;
    testing_support::ScriptedDialogs dialogs;
    retrieval::NoAttentionWindow attention;
    retrieval::NoWindowFrame frame;
    retrieval::JournalWindowLogic window({program, dialogs, attention, frame, [datecs] { return datecs; },
                                     device_link::system_clock()},
                                    dir.file("temp.xml"));
    window.document_kind = render::DocumentKind::Both;
    window.fields.first_number = "10";
    window.fields.last_number = "14";
    EXPECT_TRUE(window.RetrieveByNumbers().complete()) << v.protocol;
    EXPECT_EQ(window.document_by_ordinal.entries(), (std::map<std::int32_t, std::int32_t>{{0, 10}, {1, 11}, {2, 13}, {3, 14}}));
    EXPECT_EQ(window.document_by_z_number.entries(), (std::map<std::int32_t, std::int32_t>{{5, 11}, {6, 14}}));

    window.document_kind = render::DocumentKind::ZReports;
    window.fields.first_number = "5";
    window.fields.last_number = "6";
    dialogs.answers = {true};
    EXPECT_TRUE(window.PrintOnRegister()) << v.protocol;
    datecs ? datecs::close_port() : quendar::close_port();
    sim.stop();
    EXPECT_TRUE(contains(read_file(dir.file("sim.log")), "-> printing documents 11 to 14")) << v.protocol;
  }
}

}  // namespace
