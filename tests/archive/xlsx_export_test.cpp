// SPDX-License-Identifier: GPL-3.0-or-later
// The xlsx form read back by openpyxl (tests/archive/xlsx_matches_csv.py) against the csv
// form of the same documents, with sheets small enough that the sample tape fills several:
// a sheet that is full goes on in the next with the same header, and nothing is lost or
// written twice at the seams. An amount beyond what a single holds is exact in its cell.
#include "archive/xlsx_export.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "support/sample_archive.hpp"
#include "text/atomic_file.hpp"
#include "text/cp1251.hpp"

namespace archive {
namespace {

// The sample tape and a receipt beyond a single's exact hundredths.
std::vector<ArchivedDocument> sample_documents() {
  std::vector<ArchivedDocument> documents = testing_support::sample_archived_documents();
  // 1,234,567.89: far beyond the 167,772.16 up to which a single holds hundredths exactly.
  ArchivedDocument large;
  large.number = static_cast<std::int32_t>(documents.size() + 1);
  large.text = text::from_utf8(
      "<DAT FN=\"3000000001\" ZN=\"4000000001\"><C T=\"0\"><P N=\"1\" NM=\"Авто\" SM=\"123456789\" Q=\"1000\" "
      "PRC=\"123456789\" TX=\"1\"/><M N=\"2\" T=\"0\" NM=\"Картка\" SM=\"123456789\"/><E N=\"3\" NO=\"200\" "
      "SM=\"123456789\" TX=\"1\" TXPR=\"20.00\" TXSM=\"20576131\"/></C><TS>20240616120000</TS></DAT><MAC DI=\"1\"/>");
  documents.push_back(large);
  return documents;
}

TEST(XlsxExport, TheWorkbookIsTheCsvRowForRowOverAsManySheetsAsItNeeds) {
  struct Case {
    std::int64_t rows_per_sheet;
    int row_sheets;  // "Рядки", "Рядки (2)", ...
  };
  // The sample tape and the large receipt make 237 rows of 34 documents; at 119 rows a
  // sheet the last holds one.
  const Case cases[] = {{kSheetRows, 1}, {20, 13}, {119, 3}};
  const std::vector<ArchivedDocument> documents = sample_documents();
  testing_support::TempDir dir;

  std::string csv;
  const auto csv_form = csv_export(render::DocumentKind::Both, [&](std::string_view bytes) {
    csv += bytes;
    return true;
  });
  for (const ArchivedDocument& d : documents) csv_form->add(d);
  ASSERT_TRUE(csv_form->finish());
  ASSERT_NE(csv.find(",1234567.89,"), std::string::npos);
  ASSERT_TRUE(text::replace_file(dir.file("tape.csv"), csv));

  for (const Case& c : cases) {
    const std::string workbook = dir.file("tape-" + std::to_string(c.rows_per_sheet) + ".xlsx");
    {
      const auto xlsx = xlsx_export(render::DocumentKind::Both, workbook, c.rows_per_sheet);
      for (const ArchivedDocument& d : documents) xlsx->add(d);
      ASSERT_TRUE(xlsx->finish()) << c.rows_per_sheet;
      EXPECT_EQ(xlsx->documents_written(), 34);
    }
    const std::string limit = c.rows_per_sheet == kSheetRows ? "" : std::to_string(c.rows_per_sheet);
    const auto check = testing_support::run_program(std::string(TALQEN_PYTHON3) + " " + TALQEN_XLSX_CHECK + " " +
                                                    workbook + " " + dir.file("tape.csv") + " " +
                                                    (limit.empty() ? "0" : limit) + " " +
                                                    std::to_string(c.row_sheets) + " 2>&1");
    EXPECT_EQ(check.exit_code, 0) << c.rows_per_sheet << "\n" << check.output;
  }
  // Only the workbooks: the rows' temporary files went with their workbooks.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, std::size(cases) + 1);
}

}  // namespace
}  // namespace archive
