// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/journal_renderer.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "journal/journal_errors.hpp"
#include "rendered_journal.hpp"

namespace render {
namespace {

using namespace render_testing;
using Lines = std::vector<std::string>;

const std::string kNoData = "Запрашиваемые данные отсутствуют!";

const std::string kReceipt = document(
    "<C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"1\"/><E N=\"2\" NO=\"271\" SM=\"1250\" TX=\"1\" "
    "TXPR=\"20\" TXSM=\"208\" CS=\"1\"/></C>");
const std::string kZReport = document("<Z NO=\"52\"/>", "20140512210500");

// The kind of each rendered document, told by its second line after the head.
std::vector<std::string> document_kinds(const Lines& lines) {
  std::vector<std::string> kinds;
  for (std::size_t i = 0; i + 3 < lines.size(); ++i) {
    if (lines[i] != "          ДП \"Компанія OBRIM\"") continue;
    kinds.push_back(lines[i + 3].find("Z-звіт") != std::string::npos ? "Z" : "C");
  }
  return kinds;
}

TEST(RenderJournal, ChoiceSelectsTheDocumentsInJournalOrder) {
  const journal::loaded_journal journal = load_journal(kReceipt + kZReport + kReceipt);
  struct Case {
    render::DocumentKind kind;
    std::vector<std::string> kinds;
  };
  const Case cases[] = {
      {DocumentKind::Both, {"C", "Z", "C"}},
      {DocumentKind::Receipts, {"C", "C"}},
      {DocumentKind::ZReports, {"Z"}},
      {render::DocumentKindOfItem(-1), {}},
      {render::DocumentKindOfItem(3), {}},
  };
  for (const Case& c : cases) {
    const Lines lines = render_utf8(journal, c.kind);
    EXPECT_EQ(document_kinds(lines), c.kinds) << static_cast<int>(c.kind);
    if (c.kinds.empty()) {
      EXPECT_TRUE(lines.empty()) << static_cast<int>(c.kind);
    } else {
      // Nothing stands between documents: each ends with its own two separators.
      ASSERT_GE(lines.size(), 2u);
      EXPECT_EQ(lines[lines.size() - 2], kSeparator);
      EXPECT_EQ(lines.back(), kSeparator);
    }
  }
  const Lines both = render_utf8(journal, DocumentKind::Both);
  const Lines receipts = render_utf8(journal, DocumentKind::Receipts);
  const Lines zreports = render_utf8(journal, DocumentKind::ZReports);
  EXPECT_EQ(both.size(), receipts.size() + zreports.size());
}

TEST(RenderJournal, EmptyJournalGivesOneLineWhateverTheChoice) {
  const journal::loaded_journal journal = load_journal("");
  for (const DocumentKind kind : {DocumentKind::ZReports, DocumentKind::Receipts, DocumentKind::Both, DocumentKind::None})
    EXPECT_EQ(render_utf8(journal, kind), Lines{kNoData}) << static_cast<int>(kind);
}

TEST(RenderJournal, ZReportChoiceOverReceiptsAloneAppendsNothing) {
  EXPECT_TRUE(render_utf8(load_journal(kReceipt + kReceipt), DocumentKind::ZReports).empty());
}

TEST(RenderJournal, ModeBothEmptiesTheZReportLinksEvenWithoutZReports) {
  const journal::number_map by_ordinal;
  for (const std::string& text : {std::string(), kReceipt}) {
    journal::number_map by_z;
    by_z.set(12, 140);
    RenderContext context{DocumentKind::Both, by_ordinal, by_z};
    LineList lines;
    RenderJournal(load_journal(text), context, lines);
    EXPECT_TRUE(by_z.entries().empty());
    EXPECT_FALSE(by_z.has_entries());
  }
}

TEST(RenderJournal, FailureKeepsTheDocumentsRenderedBeforeIt) {
  const std::string broken = document("<C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\" TX=\"x\"/></C>");
  const journal::loaded_journal journal = load_journal(kReceipt + broken + kReceipt);
  const Lines first = render_utf8(load_journal(kReceipt));
  const journal::number_map by_ordinal;
  journal::number_map by_z;
  RenderContext context{DocumentKind::Both, by_ordinal, by_z};
  LineList lines;
  EXPECT_THROW(RenderJournal(journal, context, lines), journal::ConversionError);
  Lines expected = first;
  expected.insert(expected.end(), first.begin(), first.begin() + 3);  // the head
  expected.insert(expected.end(), {"            Каса00", kSeparator});
  EXPECT_EQ(to_utf8(lines), expected);
}

TEST(RenderJournal, MissingDocumentRendersAsAnEmptyReceipt) {
  // A MAC before any DAT: document 0 never gets a DAT, yet the counter says two.
  const journal::loaded_journal journal = load_journal("<MAC/>" + kReceipt);
  ASSERT_EQ(journal.doc_count, 2);
  const Lines lines = render_utf8(journal, DocumentKind::Both);
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[2], "     ЗН   ФН ");
  EXPECT_EQ(lines[3], "            Каса00");
  EXPECT_EQ(document_kinds(lines), (std::vector<std::string>{"C", "C"}));
}

std::string read_golden(const std::string& name) {
  std::ifstream in(std::string(TALQEN_RENDER_GOLDEN_DIR) + "/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every element kind of a journal, rendered in the mode kBoth. The golden file holds the
// lines in UTF-8, each followed by a line feed, trailing blanks included.
TEST(RenderJournal, JournalOfEveryElementKindMatchesTheGoldenFile) {
  // The golden lines group digits with a blank; on Windows the user's separator is used.
  if (render::ThousandsSeparator() != " ") GTEST_SKIP() << "the golden file is for the blank separator";
  const std::string xml = read_golden("every_element.xml");
  ASSERT_FALSE(xml.empty());
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::dom::Document doc = journal::dom::Document::parse(xml);
  journal::LoadJournal(doc.root(), journal, state);
  std::string rendered;
  for (const std::string& line : render_utf8(journal, DocumentKind::Both)) rendered += line + "\n";
  EXPECT_EQ(rendered, read_golden("every_element.txt"));
}

}  // namespace
}  // namespace render
