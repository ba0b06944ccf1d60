// SPDX-License-Identifier: GPL-3.0-or-later
// A journal text rendered as it is read, each document dropped once rendered, gives what
// the whole loaded journal gives; a text that fails to load late takes back every line.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "journal/journal_errors.hpp"
#include "rendered_journal.hpp"
#include "retrieval/journal_pipeline.hpp"

namespace render {
namespace {

using namespace render_testing;
using Lines = std::vector<std::string>;

const std::string kFailure1 = "Непредвиденный сбой в структуре получаемой информации!";
const std::string kFailure2 = "Попробуйте выбрать другой диапазон номеров или дат!";

// Documents of every shape the lists must keep apart: a first document with its own
// fiscal number, children with holes (a TX, TXS or M without values), a Z-report among
// receipts, and a document without DAT.
std::string varied_documents(int count) {
  std::string text = "<DAT FN=\"ПЕРШИЙ\" ZN=\"1\"><C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/>"
                     "<E N=\"2\" NO=\"1\" SM=\"1250\"><TX/><TX TX=\"1\" TXPR=\"20\" TXSM=\"208\"/></E></C>"
                     "<TS>20240501120000</TS></DAT><MAC/>\n";
  for (int i = 1; i < count; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 4) {
      case 0:
        text += document("<Z NO=\"" + n + "\"><M/><M T=\"1\" NM=\"КАРТКА\" SMI=\"" + n + "00\"/><TXS/>"
                         "<TXS TX=\"2\" TS=\"20240101\" TXPR=\"7\" TXI=\"13\" SMI=\"199\"/><NC NI=\"" + n + "\"/></Z>");
        break;
      case 1:
        text += document("<C T=\"1\"><CP N=\"1\" NM=\"Олія соняшникова рафінована дезодорована\" SM=\"" + n +
                         "\" Q=\"2000\" PRC=\"600\" TX=\"2\"/><L N=\"2\">картка " + n + "</L>"
                         "<M N=\"3\" NM=\"КРЕДИТ\" SM=\"" + n + "\" RRN=\"44" + n + "\"/><E N=\"4\" NO=\"" + n +
                         "\" SM=\"" + n + "\" TX=\"2\" TXPR=\"7\"/></C>");
        break;
      case 2:
        text += "<MAC/>\n";
        break;
      default:
        text += document("<C T=\"0\"><P N=\"2\" NM=\"Батон\" SM=\"100\" TX=\"1\"/><D N=\"1\" TY=\"1\" PR=\"3\" SM=\"9\"/>"
                         "<I N=\"3\" SM=\"50\"/><E N=\"4\" NO=\"" + n + "\" SM=\"91\" VD=\"" + (i % 8 == 3 ? "1" : "0") +
                         "\"/></C>");
        break;
    }
  }
  return text;
}

Lines streamed_utf8(const std::string& text, DocumentKind kind) {
  LineList lines;
  EXPECT_TRUE(retrieval::RenderJournalText(text, kind, lines));
  return to_utf8(lines);
}

TEST(StreamedJournal, RendersAsTheWholeLoadedJournal) {
  const std::string documents = varied_documents(401);
  const journal::loaded_journal whole = load_journal(documents);
  for (const DocumentKind kind : {DocumentKind::Both, DocumentKind::Receipts, DocumentKind::ZReports})
    EXPECT_EQ(streamed_utf8(journal_text(documents), kind), render_utf8(whole, kind)) << static_cast<int>(kind);
}

TEST(StreamedJournal, GoldenJournalGivesTheGoldenLines) {
  if (ThousandsSeparator() != " ") GTEST_SKIP() << "the golden file is for the blank separator";
  const auto golden = [](const std::string& name) {
    std::ifstream in(std::string(TALQEN_RENDER_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  };
  std::string rendered;
  for (const std::string& line : streamed_utf8(golden("every_element.xml"), DocumentKind::Both)) rendered += line + "\n";
  EXPECT_EQ(rendered, golden("every_element.txt"));
}

// Whether the lines go to a list or straight to a sink that takes them back, a text that
// fails to load after thousands of rendered documents shows the failure lines alone; a
// rendering failure keeps the lines before it unless the load fails later.
TEST(StreamedJournal, LateLoadFailureShowsOnlyTheFailureLines) {
  const std::string good = varied_documents(2000);
  const std::string broken = document("<C T=\"0\"><S N=\"1\" SM=\"100\"/></C>");
  struct Case {
    const char* what;
    std::string text;
    bool lines_before_failure;
  };
  const Case cases[] = {
      {"junk at the end", journal_text(good + "<DAT><</DAT>"), false},
      {"the end is missing", journal_text(good).substr(0, journal_text(good).size() - 8), false},
      {"a number that is none", journal_text(good + "<DAT DI=\"x\"/><MAC/>"), false},
      {"a rendering failure, then junk", journal_text(broken + good + "<<"), false},
      {"a rendering failure, then a number that is none", journal_text(good + broken + good + "<E NO=\"y\"/>"), false},
      {"a rendering failure alone", journal_text(good + broken + good), true},
  };
  for (const Case& c : cases) {
    LineList listed;
    EXPECT_FALSE(retrieval::RenderJournalText(c.text, DocumentKind::Both, listed)) << c.what;
    LineList written;
    LineSink sink([&](std::string&& line) { written.push_back(std::move(line)); }, [&] { written.clear(); });
    EXPECT_FALSE(retrieval::RenderJournalText(c.text, DocumentKind::Both, sink)) << c.what;
    EXPECT_EQ(written, listed) << c.what;
    const Lines shown = to_utf8(listed);
    ASSERT_GE(shown.size(), 2u) << c.what;
    EXPECT_EQ(shown.size() > 2, c.lines_before_failure) << c.what;
    EXPECT_EQ(shown[shown.size() - 2], kFailure1) << c.what;
    EXPECT_EQ(shown.back(), kFailure2) << c.what;
  }
}

// The journal window's lines and Z-report links stay as they were when a text fails to
// load; the journal keeps its number ranges and none of its documents.
TEST(StreamedJournal, FailedLoadLeavesTheWindowAsItWas) {
  const std::string good = varied_documents(100);
  const journal::number_map by_ordinal = [] {
    journal::number_map m;
    for (std::int32_t i = 0; i < 100; ++i) m.set(i, 5000 + i);
    return m;
  }();
  journal::number_map by_z;
  by_z.set(12, 140);
  RenderContext context{DocumentKind::Both, by_ordinal, by_z};
  journal::loaded_journal journal;
  journal::loader_state state;
  PackedLines lines{"old"};
  EXPECT_THROW(retrieval::LoadAndRender(journal_text(good + "<<"), journal, state, context, lines), journal::ParseError);
  EXPECT_EQ(lines, Lines{"old"});
  EXPECT_EQ(by_z.lookup(12), 140);
  EXPECT_EQ(journal.receipt_no_max, 0);

  journal.clear();
  state.reset();
  retrieval::LoadAndRender(journal_text(good), journal, state, context, lines);
  EXPECT_EQ(to_utf8(Lines(lines.begin(), lines.end())), render_utf8(load_journal(good)));
  EXPECT_EQ(by_z.lookup(12), 5012);  // the Z-report of document 12 is number 12
  EXPECT_EQ(by_z.lookup(140), 0);
  EXPECT_EQ(journal.receipt_no_min, 1);
  EXPECT_EQ(journal.receipt_no_max, 99);
  EXPECT_LE(journal.documents.size(), 1u);
}

}  // namespace
}  // namespace render
