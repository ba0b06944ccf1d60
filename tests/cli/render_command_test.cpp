// SPDX-License-Identifier: GPL-3.0-or-later
// talqen-cli render, and the parse-load-render step it shares with a retrieval.
#include "retrieval/journal_pipeline.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/render_context.hpp"
#include "support/run_program.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using testing_support::read_file;
using testing_support::run_program;
using testing_support::TempDir;
using testing_support::write_file;

const std::string kFailure1 = "Непредвиденный сбой в структуре получаемой информации!";
const std::string kFailure2 = "Попробуйте выбрать другой диапазон номеров или дат!";

// A journal text as temp.xml holds it: Windows-1251, CR LF between lines.
std::string journal_text(const std::string& utf8_documents) {
  return text::from_utf8("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n" + utf8_documents +
                         "\r\n</RQ>\r\n");
}

const std::string kReceipt =
    "<DAT FN=\"1\" ZN=\"2\"><C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/>"
    "<E N=\"2\" NO=\"5\" SM=\"1250\" TX=\"1\" TXPR=\"20\" TXSM=\"208\" CS=\"1\"/></C><TS>20240501120000</TS></DAT><MAC/>";
const std::string kZReport = "<DAT FN=\"1\" ZN=\"2\"><Z NO=\"9\"/><TS>20240501235900</TS></DAT><MAC/>";
const std::string kBrokenReceipt =
    "<DAT FN=\"1\" ZN=\"2\"><C T=\"0\"><S N=\"1\" SM=\"100\"/></C><TS>20240501120000</TS></DAT><MAC/>";

std::vector<std::string> utf8_lines(const render::LineList& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(text::to_utf8(line));
  return out;
}

TEST(RenderJournalText, AnyFailureEndsTheListWithTheTwoFailureLines) {
  struct Case {
    const char* what;
    std::string text;
    std::size_t lines_before_failure;
  };
  const Case cases[] = {
      {"not XML", text::from_utf8("<RQ><DAT"), 0},
      {"a number that is none", journal_text("<DAT DI=\"abc\"/><MAC/>"), 0},
      // The receipt renders completely, the broken one up to its markup line.
      {"a markup without tax group", journal_text(kReceipt + kBrokenReceipt), 15 + 5},
  };
  for (const Case& c : cases) {
    render::LineList lines;
    EXPECT_FALSE(retrieval::RenderJournalText(c.text, render::DocumentKind::Both, lines)) << c.what;
    const std::vector<std::string> shown = utf8_lines(lines);
    ASSERT_EQ(shown.size(), c.lines_before_failure + 2) << c.what;
    EXPECT_EQ(shown[shown.size() - 2], kFailure1) << c.what;
    EXPECT_EQ(shown.back(), kFailure2) << c.what;
  }
  render::LineList lines;
  EXPECT_TRUE(retrieval::RenderJournalText(journal_text(kReceipt), render::DocumentKind::Both, lines));
  EXPECT_EQ(lines.size(), 15u);
}

TEST(RenderJournalText, CorruptTextsAreReportedNeverFatal) {
  const std::string whole = journal_text(kReceipt + kZReport);
  std::vector<std::string> texts;
  for (std::size_t cut = 0; cut + 2 < whole.size(); ++cut) texts.push_back(whole.substr(0, cut));  // before "</RQ>"
  std::uint32_t x = 7;
  for (int n = 0; n < 200; ++n) {
    std::string noise(static_cast<std::size_t>(n * 13), ' ');
    for (char& c : noise) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    texts.push_back(noise);
  }
  texts.push_back("<?xml version=\"1.0\" encoding=\"x-unknown\"?><RQ V=\"1\"/>");
  texts.push_back("<RQ>" + std::string(100000, '<').replace(0, 0, "") + "</RQ>");
  std::string deep = "<RQ>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  texts.push_back(deep);
  std::string attributes = "<RQ V=\"1\"><DAT";
  for (int i = 0; i < 1000000; ++i) attributes += " a" + std::to_string(i) + "=\"1\"";
  texts.push_back(attributes + "/></RQ>");
  for (const std::string& text : texts) {
    render::LineList lines;
    ASSERT_FALSE(retrieval::RenderJournalText(text, render::DocumentKind::Both, lines)) << text.size();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(text::to_utf8(lines.back()), kFailure2);
  }
}

class RenderCommand : public ::testing::Test {
 protected:
  std::string journal(const std::string& utf8_documents) {
    const std::string path = dir.file("temp.xml");
    write_file(path, journal_text(utf8_documents));
    return path;
  }
  static testing_support::ProgramRun cli(const std::string& arguments) {
    return run_program(std::string(TALQEN_CLI) + " " + arguments);
  }
  TempDir dir;
};

TEST_F(RenderCommand, PrintsTheChosenDocumentsAsUtf8OrWindows1251) {
  const std::string path = journal(kReceipt + kZReport);
  const auto both = cli("render " + path);
  EXPECT_EQ(both.exit_code, 0);
  EXPECT_NE(both.output.find("            Каса01\n"), std::string::npos);
  EXPECT_NE(both.output.find("           Z-звіт N 9\n"), std::string::npos);
  EXPECT_EQ(both.output.find("  Хліб"), both.output.rfind("  Хліб"));  // one receipt

  const auto z = cli("render " + path + " --kind z");
  EXPECT_EQ(z.exit_code, 0);
  EXPECT_EQ(z.output.find("Каса"), std::string::npos);
  EXPECT_NE(z.output.find("Z-звіт N 9"), std::string::npos);

  const auto receipts = cli("--encoding cp1251 render --kind receipt " + path);
  EXPECT_EQ(receipts.exit_code, 0);
  EXPECT_NE(receipts.output.find(text::from_utf8("            Каса01\n")), std::string::npos);
  EXPECT_EQ(receipts.output.find(text::from_utf8("Z-звіт")), std::string::npos);
}

TEST_F(RenderCommand, OutputFileHoldsWindows1251LinesEndedByCrLf) {
  const std::string path = journal(kZReport);
  const std::string out = dir.file("z.txt");
  const auto run = cli("render " + path + " -o " + out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, "");
  const std::string expected = text::from_utf8(
      "          ДП \"Компанія OBRIM\"\r\n"
      "                м.Київ\r\n"
      "     ЗН 2  ФН 1\r\n"
      "           Z-звіт N 9\r\n"
      "              ЗАГАЛОМ\r\n"
      "  ------        Податок       Обіг\r\n"
      "                    0.00      0.00\r\n"
      "  Чеків продажу 0\r\n"
      "                    0.00      0.00\r\n"
      "  Чеків повернення 0\r\n"
      "  Податок     від \r\n"
      "                    01.05.2024  23:59      \r\n"
      "         ФІСКАЛЬНИЙ ЧЕК\r\n"
      "  --------------------------------------\r\n"
      "  --------------------------------------\r\n");
  EXPECT_EQ(read_file(out), expected);
}

TEST_F(RenderCommand, GoldenJournalSavedAsTempXmlGivesTheGoldenLines) {
  // The golden journal is kept in UTF-8; here it becomes a temp.xml as the register's.
  std::string xml = read_file(std::string(TALQEN_RENDER_GOLDEN_DIR) + "/every_element.xml");
  ASSERT_FALSE(xml.empty());
  const std::string declared = "encoding=\"UTF-8\"";
  xml.replace(xml.find(declared), declared.size(), "encoding=\"windows-1251\"");
  write_file(dir.file("temp.xml"), text::from_utf8(xml));
  std::string expected;
  const std::string golden = read_file(std::string(TALQEN_RENDER_GOLDEN_DIR) + "/every_element.txt");
  for (char c : text::from_utf8(golden)) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const auto run = cli("render " + dir.file("temp.xml") + " -o " + dir.file("out.txt"));
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(read_file(dir.file("out.txt")), expected);
}

TEST_F(RenderCommand, WholeDocumentsOnStdoutFailureLinesOnStderr) {
  const std::string cut = journal_text(kReceipt + kZReport);
  struct Case {
    const char* what;
    std::string text;
    bool receipt_shown;  // the first document, whole before the fault
  };
  const Case cases[] = {
      {"a document the renderer cannot place", journal_text(kReceipt + kBrokenReceipt), true},
      {"a text cut in the second document", cut.substr(0, cut.find("<Z ") + 4), true},
      {"no document element at all", "<RQ><DAT", false},
  };
  const std::string failure = kFailure1 + "\n" + kFailure2 + "\n";
  for (const Case& c : cases) {
    write_file(dir.file("in.xml"), c.text);
    write_file(dir.file("out.txt"), "kept\r\n");
    const auto shown = cli("render " + dir.file("in.xml") + " 2>" + dir.file("err.txt"));
    EXPECT_EQ(shown.exit_code, 1) << c.what;
    EXPECT_EQ(shown.output.find("Каса01") != std::string::npos, c.receipt_shown) << c.what;
    EXPECT_EQ(shown.output.find("Z-звіт"), std::string::npos) << c.what;
    EXPECT_EQ(read_file(dir.file("err.txt")), failure) << c.what;
    // The file gets the whole documents, or stays as it was when there are none.
    const auto saved = cli("render " + dir.file("in.xml") + " -o " + dir.file("out.txt") + " 2>/dev/null");
    EXPECT_EQ(saved.exit_code, 1) << c.what;
    EXPECT_EQ(read_file(dir.file("out.txt")).find(text::from_utf8("Каса01")) != std::string::npos, c.receipt_shown)
        << c.what;
    if (!c.receipt_shown) {
      EXPECT_EQ(read_file(dir.file("out.txt")), "kept\r\n") << c.what;
    }
  }
}

TEST_F(RenderCommand, BadArgumentsAreUsageErrors) {
  const std::string path = journal(kReceipt);
  for (const std::string& args : {std::string("render"), "render " + path + " --kind x", "render " + path + " --kind",
                                  "render " + path + " --wide", "render " + path + " " + path,
                                  "render " + dir.file("missing.xml"), "render " + path + " -o " + path}) {
    const auto run = cli(args + " 2>&1");
    EXPECT_EQ(run.exit_code, 2) << args;
    EXPECT_NE(run.output.find("render"), std::string::npos) << args;
  }
  const auto unwritable = cli("render " + path + " -o " + dir.file("no-such-dir/out.txt") + " 2>&1");
  EXPECT_EQ(unwritable.exit_code, 1);
  EXPECT_NE(unwritable.output.find("cannot write"), std::string::npos);
}

}  // namespace
