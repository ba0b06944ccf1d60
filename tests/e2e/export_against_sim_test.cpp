// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli export from an archive of talqen-sim's sample tape: the journal text and the
// lines are those of a one-shot fetch of the same selection, the CSV and JSON forms are
// the golden files, the workbook read back is the CSV, and a selection, an archive or an
// output that yields nothing writes no file.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "fetch_helpers.hpp"

namespace {

using namespace e2e;

const Variant& kQuendar = kVariants[1];  // the faster of the two on a pty; export never opens a port

// A directory holding the archive tape.db of the whole sample tape.
class ExportAgainstSim : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.ready());
    write_file(dir.file("fpinit.ini"), kRepeatOnce);
    const CliOutcome archived = talqen_cli(dir, connection() + " archive --db tape.db");
    ASSERT_EQ(archived.exit_code, 0) << archived.err;
  }
  std::string connection() const { return "--port " + sim.port() + " --protocol " + kQuendar.protocol; }

  SimProcess sim = start_sim(kQuendar);
  TempDir dir;
};

TEST_F(ExportAgainstSim, XmlAndTextAreWhatAFetchOfTheSameSelectionGives) {
  struct Case {
    const char* fetch;      // the one-shot retrieval
    const char* selection;  // the export's selection of the same documents
    const char* kind;       // for both, and for render
  };
  const Case cases[] = {
      {"fetch 1 end", "1 end", ""},
      {"fetch 1 end", "", ""},
      {"fetch 41 43", "41 43", "--kind z"},
      {"fetch 5 12", "5 12", "--kind receipt"},
      {"fetch-dates --from 14.05.24 --to 14.05.24", "--from 14.05.24 --to 14.05.24", "--kind z"},
  };
  for (const Case& c : cases) {
    const std::string label = std::string(c.selection) + " " + c.kind;
    const CliOutcome fetched = talqen_cli(dir, connection() + " " + c.fetch + " " + c.kind);
    ASSERT_EQ(fetched.exit_code, 0) << c.fetch << fetched.err;
    const std::string temp_xml = read_file(dir.file("temp.xml"));
    const CliOutcome rendered = talqen_cli(dir, std::string("render temp.xml ") + c.kind);

    const CliOutcome xml = talqen_cli(dir, "export --db tape.db --format xml -o export.xml " + label);
    EXPECT_EQ(xml.exit_code, 0) << label << xml.err;
    EXPECT_EQ(xml.out, "");
    EXPECT_EQ(read_file(dir.file("export.xml")), temp_xml) << label;

    const CliOutcome text = talqen_cli(dir, "export --db tape.db --format text " + label);
    EXPECT_EQ(text.exit_code, 0) << label << text.err;
    EXPECT_EQ(text.out, rendered.out) << label;
    EXPECT_EQ(text.out, fetched.out) << label;
  }
}

TEST_F(ExportAgainstSim, CsvAndJsonOfTheSampleTapeAreTheGoldenFiles) {
  const CliOutcome csv = talqen_cli(dir, "export --db tape.db --format csv -o tape.csv");
  EXPECT_EQ(csv.exit_code, 0) << csv.err;
  EXPECT_EQ(read_file(dir.file("tape.csv")), read_file(TALQEN_GOLDEN_DIR "/sample_tape.csv"));
  const CliOutcome json = talqen_cli(dir, "--encoding cp1251 export --db tape.db --format json");
  EXPECT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(json.out, read_file(TALQEN_GOLDEN_DIR "/sample_tape.json"));
}

TEST_F(ExportAgainstSim, TheWorkbookReadBackIsTheCsvRowForRow) {
  const CliOutcome csv = talqen_cli(dir, "export --db tape.db --format csv -o tape.csv");
  ASSERT_EQ(csv.exit_code, 0) << csv.err;
  const CliOutcome xlsx = talqen_cli(dir, "export --db tape.db --format XLSX -o tape.xlsx");
  ASSERT_EQ(xlsx.exit_code, 0) << xlsx.err;
  EXPECT_EQ(xlsx.out, "");
  const auto check = run_program(std::string(TALQEN_PYTHON3) + " " + TALQEN_XLSX_CHECK + " " + dir.file("tape.xlsx") +
                                 " " + dir.file("tape.csv") + " 0 1 2>&1");
  EXPECT_EQ(check.exit_code, 0) << check.output;
}

// The directory's file names, to see that a failed export left nothing beside its target.
std::set<std::string> files_in(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.insert(entry.path().filename());
  return names;
}

TEST_F(ExportAgainstSim, AWorkbookWithoutAPlaceToGoIsNotStarted) {
  struct Case {
    const char* arguments;
    int exit_code;
    const char* told;
  };
  write_file(dir.file("kept.xlsx"), "kept");
  const Case cases[] = {
      {"--format xlsx", 2, "xlsx needs -o FILE"},
      {"--format xlsx -o -", 2, "xlsx needs -o FILE"},
      {"--format xlsx -o missing/tape.xlsx", 1, "cannot write missing/tape.xlsx"},
      {"--format xlsx -o kept.xlsx/tape.xlsx", 1, "cannot write kept.xlsx/tape.xlsx"},
      {"--format xlsx -o kept.xlsx 100 200", 1, "nothing selected"},
      {"--format xlsx -o kept.xlsx --kind receipt 11 11", 1, "no document of that kind"},
  };
  for (const Case& c : cases) {
    const std::set<std::string> before = files_in(dir);
    const CliOutcome run = talqen_cli(dir, std::string("export --db tape.db ") + c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments << run.err;
    EXPECT_TRUE(contains(run.err, c.told)) << c.arguments << run.err;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(read_file(dir.file("kept.xlsx")), "kept") << c.arguments;
    EXPECT_EQ(files_in(dir), before) << c.arguments;
  }
}

TEST_F(ExportAgainstSim, NothingToExportLeavesTheOutputFileAsItWas) {
  struct Case {
    const char* arguments;
    int exit_code;
    const char* told;
  };
  const Case cases[] = {
      {"--db tape.db --format csv 100 200", 1, "nothing selected"},
      {"--db tape.db --format json --kind z 1 40", 1, "nothing selected"},
      {"--db tape.db --format text --kind receipt 11 11", 1, "no document of that kind"},
      {"--db missing.db --format xml", 2, "missing.db"},
      {"--db temp.xml --format xml", 2, "is not a Talqen archive"},
      {"--db tape.db --format xml --from 14.05.24 --to 13.05.24", 2, "Конечная дата должна быть не меньше начальной!"},
      {"--db tape.db --format pdf", 2, "unknown format: pdf"},
      {"--db tape.db --format xml 1 2 --from 13.05.24", 2, "not both"},
  };
  write_file(dir.file("temp.xml"), "<?xml version=\"1.0\"?><RQ V=\"1\"></RQ>");
  for (const Case& c : cases) {
    write_file(dir.file("kept.txt"), "kept");
    const auto files = [&] {
      std::set<std::string> names;
      for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename());
      return names;
    };
    const std::set<std::string> before = files();
    const CliOutcome run = talqen_cli(dir, std::string("export -o kept.txt ") + c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments << run.err;
    EXPECT_TRUE(contains(run.err, c.told)) << c.arguments << run.err;
    EXPECT_EQ(read_file(dir.file("kept.txt")), "kept") << c.arguments;
    EXPECT_EQ(files(), before) << c.arguments;  // nothing half-written, no WAL files left beside it
  }
}

}  // namespace
