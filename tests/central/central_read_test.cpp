// SPDX-License-Identifier: GPL-3.0-or-later
// export, verify and registers from the chain's centre: archives filled from talqen-sim
// and pushed, then every form and every kind of selection read from the file and from the
// centre, which must write the same bytes; the overview of two registers, one with a
// conflict; and a centre that cannot give the register asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "archive/central_push.hpp"
#include "archive/sqlite_database.hpp"
#include "e2e/sim_process.hpp"
#include "sim/sample_journal.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_centre.hpp"

namespace {

using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;
using testing_support::write_file;

struct Outcome {
  int exit_code;
  std::string out;  // stdout alone
  std::string err;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Two registers' archives, each filled from its own talqen-sim and pushed into one centre:
//   a.db  ZN 4000000001, asked from 95 (95-100 absent, so no word where the tape begins),
//         document 117 (a return) taken out before the push: a hole and a shift that does
//         not add up;
//   b.db  ZN 4000000002, the whole tape, which begins at 101.
class CentralRead : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string why_not;
    std::optional<testing_support::TestCentre> centre = testing_support::TestCentre::open(why_not);
    if (!centre) {
      skip_reason_ = new std::string(why_not);
      return;
    }
    dir_ = new TempDir;
    uri_ = new std::string(centre->uri(centre->fresh_database()));
    write_file(dir_->file("fpinit.ini"), "[Fiscal Printer]\r\nReply=1\r\n");
    std::string second = sim::sample_journal_text();
    for (const auto& [from, to] : {std::pair{"\"4000000001\"", "\"4000000002\""}, {"\"3000000001\"", "\"3000000002\""}})
      for (std::size_t at = second.find(from); at != std::string::npos; at = second.find(from, at))
        second.replace(at, std::string(from).size(), to);
    write_file(dir_->file("second.xml"), second);
    ASSERT_EQ(cli("central init --to " + centre_arg()).exit_code, 0);
    fill("a.db", {"--sample"}, "95 end");
    archive::Database(dir_->file("a.db"), archive::Database::Mode::ReadWriteCreate)
        .execute("DELETE FROM document WHERE number = 117");
    fill("b.db", {"--journal", dir_->file("second.xml")}, "");
    for (const char* db : {"a.db", "b.db"}) {
      const Outcome pushed = cli(std::string("push --db ") + db + " --to " + centre_arg());
      ASSERT_EQ(pushed.exit_code, 0) << pushed.err;
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    delete uri_;
    delete skip_reason_;
  }
  void SetUp() override {
    if (skip_reason_) GTEST_SKIP() << *skip_reason_;
    ASSERT_NE(uri_, nullptr) << "the suite's set-up failed";
  }

  static void fill(const std::string& db, std::vector<std::string> journal, const std::string& range) {
    journal.insert(journal.begin(), {"--protocol", "quendar", "--first-number", "101"});
    e2e::SimProcess sim(journal);
    ASSERT_TRUE(sim.ready());
    const Outcome filled = cli("--port " + sim.port() + " --protocol quendar archive --db " + db + " " + range);
    ASSERT_EQ(filled.exit_code, 0) << filled.err;
  }

  // talqen-cli in the suite's directory.
  static Outcome cli(const std::string& arguments) {
    const auto run = run_program("cd " + dir_->path().string() + " && " + TALQEN_CLI + " " + arguments + " 2>stderr.txt");
    return {run.exit_code, run.output, read_file(dir_->file("stderr.txt"))};
  }
  static std::string centre_arg() { return "'" + *uri_ + "'"; }

  static TempDir* dir_;
  static std::string* uri_;
  static std::string* skip_reason_;
};

TempDir* CentralRead::dir_ = nullptr;
std::string* CentralRead::uri_ = nullptr;
std::string* CentralRead::skip_reason_ = nullptr;

// The parts of two workbooks that differ; the time each was made (docProps/core.xml) is
// its own.
std::string workbook_difference(const std::string& a, const std::string& b) {
  return run_program(std::string(TALQEN_PYTHON3) + " -c \"import sys, zipfile\n"
                     "a, b = (zipfile.ZipFile(f) for f in sys.argv[1:])\n"
                     "names = set(a.namelist()) | set(b.namelist())\n"
                     "print(*sorted(n for n in names if n != 'docProps/core.xml' and "
                     "(n not in a.namelist() or n not in b.namelist() or a.read(n) != b.read(n))))\" " +
                     a + " " + b + " 2>&1")
      .output;
}

TEST_F(CentralRead, ExportAndVerifyFromTheCentreWriteWhatTheyWriteFromTheFile) {
  struct Case {
    std::string file;  // the register's archive
    std::string zn;    // the same register at the centre
    std::string command;
  };
  // Export reads the documents alone; verify reads the absent numbers and where the tape
  // begins too, which differ between the two.
  const char* const kSelections[] = {"", "105 112", "90 300", "--from 14.05.24 --to 14.05.24", "--from 15.05.24",
                                     "400 500"};
  std::vector<Case> cases;
  for (const char* selection : kSelections) {
    for (const char* command : {"export --format xml", "export --format text --kind receipt", "export --format csv",
                                "export --format json", "verify", "verify --format json"})
      cases.push_back({"a.db", "4000000001", std::string(command) + " " + selection});
    for (const char* command : {"verify", "verify --format json"})
      cases.push_back({"b.db", "4000000002", std::string(command) + " " + selection});
  }
  for (const char* z : {"--kind z 41 43", "--kind z 42 end", "--kind z 1 40"})
    for (const char* command : {"export --format text", "export --format json"})
      cases.push_back({"a.db", "4000000001", std::string(command) + " " + z});
  int findings = 0;  // so that the table is seen to reach verify's findings
  for (const Case& c : cases) {
    const Outcome from_file = cli(c.command + " --db " + c.file);
    const Outcome from_centre = cli(c.command + " --db " + centre_arg() + " --register " + c.zn);
    EXPECT_EQ(from_centre.exit_code, from_file.exit_code) << c.file << ": " << c.command << "\n" << from_centre.err;
    EXPECT_EQ(from_centre.out, from_file.out) << c.file << ": " << c.command;
    EXPECT_NE(from_file.exit_code, 2) << c.file << ": " << c.command << "\n" << from_file.err;
    if (contains(from_file.out, "finding\t")) ++findings;
  }
  EXPECT_GT(findings, 0);

  // The workbook, and the text form into a file.
  for (const std::string form : {"xlsx", "text"}) {
    ASSERT_EQ(cli("export --db a.db --format " + form + " -o file." + form).exit_code, 0);
    const Outcome centre = cli("export --db " + centre_arg() + " --register 4000000001 --format " + form + " -o centre." + form);
    ASSERT_EQ(centre.exit_code, 0) << centre.err;
    if (form == "xlsx")
      EXPECT_EQ(workbook_difference(dir_->file("file.xlsx"), dir_->file("centre.xlsx")), "\n");
    else
      EXPECT_EQ(read_file(dir_->file("centre.text")), read_file(dir_->file("file.text")));
  }
}

// The lines of a text, without their ends.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST_F(CentralRead, RegistersListsEveryRegisterWithItsLastPushAndConflicts) {
  // A copy of b.db whose document 120 reads otherwise: pushed, it is a conflict.
  std::filesystem::copy_file(dir_->file("b.db"), dir_->file("b-changed.db"),
                             std::filesystem::copy_options::overwrite_existing);
  archive::Database(dir_->file("b-changed.db"), archive::Database::Mode::ReadWriteCreate)
      .execute("UPDATE document SET text = CAST(text || x'20' AS BLOB) WHERE number = 120");
  EXPECT_EQ(cli("push --db b-changed.db --to " + centre_arg()).exit_code, 1);

  const Outcome csv = cli("registers --db " + centre_arg() + " --format csv");
  ASSERT_EQ(csv.exit_code, 0) << csv.err;
  const std::vector<std::string> rows = lines_of(csv.out);
  ASSERT_EQ(rows.size(), 3u) << csv.out;
  EXPECT_EQ(rows[0],
            "serial,fiscal_number,documents,first_number,last_number,last_document_time,last_push_at,last_push_host,"
            "conflicts");
  // The push's moment is the server's: of the form only.
  const std::string host = "," + archive::local_host_name() + ",";
  const struct {
    std::string before_push, after_push;
  } expected[] = {{"4000000001,3000000001,32,101,133,2024-05-15T21:00:00,", host + "0"},
                  {"4000000002,3000000002,33,101,133,2024-05-15T21:00:00,", host + "1"}};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string& row = rows[i + 1];
    EXPECT_TRUE(row.starts_with(expected[i].before_push)) << row;
    EXPECT_TRUE(row.ends_with(expected[i].after_push)) << row;
    const std::string moment = row.substr(expected[i].before_push.size(), 20);
    EXPECT_EQ(row.size(), expected[i].before_push.size() + 20 + expected[i].after_push.size()) << row;
    EXPECT_TRUE(moment[4] == '-' && moment[10] == 'T' && moment[19] == 'Z') << moment;
  }

  // The json form holds the csv's values under the same names, null where csv is empty.
  const Outcome json = cli("registers --db " + centre_arg() + " --format json > registers.json; " + TALQEN_PYTHON3 +
                           " -c \"import json\nfor r in json.load(open('registers.json')): print(','.join(r.keys())); "
                           "print(','.join('' if v is None else str(v) for v in r.values()))\"");
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(json.out, rows[0] + "\n" + rows[1] + "\n" + rows[0] + "\n" + rows[2] + "\n");

  const Outcome text = cli("registers --db " + centre_arg());
  ASSERT_EQ(text.exit_code, 0) << text.err;
  const std::vector<std::string> lines = lines_of(text.out);
  ASSERT_EQ(lines.size(), 3u) << text.out;
  EXPECT_TRUE(lines[0].starts_with("ZN ")) << text.out;
  // Aligned: every column starts where its header does, the counts ending under theirs.
  for (const std::string& line : lines) EXPECT_EQ(line.size(), lines[0].size()) << text.out;
  EXPECT_EQ(lines[0].find("FN"), lines[1].find("3000000001")) << text.out;
  EXPECT_TRUE(contains(lines[2], " 15.05.2024 21:00:00 ")) << text.out;
}

TEST_F(CentralRead, AReadThatCannotBeGivenItsRegisterIsAUsageError) {
  TALQEN_REQUIRE_CENTRE(centre);
  const std::string bare = "'" + centre.uri(centre.fresh_database()) + "'";
  struct Case {
    std::string arguments;
    const char* told;
  };
  const Case cases[] = {
      {"export --format csv --db " + centre_arg() + " --register 4000000009", "holds no register 4000000009"},
      {"verify --db " + centre_arg(), "needs --register ZN"},
      {"verify --db a.db --register 4000000001", "--register picks a register of a centre"},
      {"export --format xml --db " + bare + " --register 4000000001", "central init"},
      {"verify --db " + bare + " --register 4000000001", "central init"},
      {"registers --db " + bare, "central init"},
      {"verify --db postgresql://127.0.0.1:1/chain --register 4000000001", "cannot reach"},
      {"registers --db 'postgresql://127.0.0.1:1/chain?password=secret'", "password file"},
      {"registers --db a.db", "needs --db CENTRE"},
  };
  for (const Case& c : cases) {
    const Outcome run = cli(c.arguments);
    EXPECT_EQ(run.exit_code, 2) << c.arguments << "\n" << run.err;
    EXPECT_TRUE(contains(run.err, c.told)) << c.arguments << "\n" << run.err;
    EXPECT_EQ(run.out, "") << c.arguments;
  }
}

}  // namespace
