// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_loader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/journal_errors.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace journal {
namespace {

// A journal text as the retrieval assembles it, with the given document lines (written
// here in UTF-8, held in Windows-1251 like the register's).
std::string journal_text(const std::string& lines) {
  return "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n" +
         text::from_utf8(lines) + "\r\n</RQ>\r\n";
}

struct Loaded {
  loaded_journal journal;
  loader_state state;
  fiscal_document& doc(int i) { return journal.document(i); }
  receipt& receipt_of(int i) { return doc(i).receipts[0]; }
  z_report& zreport(int i) { return doc(i).zreports[0]; }
};

void load_into(Loaded& loaded, const std::string& lines) {
  const dom::Document doc = dom::Document::parse(journal_text(lines));
  LoadJournal(doc.root(), loaded.journal, loaded.state);
}

Loaded load(const std::string& lines) {
  Loaded loaded;
  load_into(loaded, lines);
  return loaded;
}

std::vector<sequence_entry> positions(receipt& c) {
  std::vector<sequence_entry> out;
  for (std::int32_t p = 1; p <= c.line_total(); ++p) out.push_back(c.sequence[p]);
  return out;
}

TEST(LoadJournal, RootAloneGivesAnEmptyJournalWithItsVersion) {
  Loaded j = load("");
  EXPECT_EQ(j.journal.V, 1.0f);
  EXPECT_EQ(j.journal.doc_count, 0);
  EXPECT_TRUE(j.journal.documents.empty());
}

TEST(LoadJournal, OneReceiptDocument) {
  Loaded j = load(
      "<DAT FN=\"ПН1\" ZN=\"AT100\" DI=\"55\"><C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1200\" "
      "Q=\"2000\" PRC=\"600\" TX=\"1\"/>\n<P N=\"2\"/><E N=\"3\" NO=\"138\" SM=\"1200\"/></C>"
      "<TS>20240501120000</TS></DAT><MAC DI=\"4\" NT=\"5\">QUJD</MAC>");
  EXPECT_EQ(j.journal.doc_count, 1);
  fiscal_document& d = j.doc(0);
  EXPECT_TRUE(d.is_receipt);
  EXPECT_EQ(d.FN, "ПН1"_cp1251);
  EXPECT_EQ(d.ZN, "AT100");
  EXPECT_EQ(d.DI, 55.0f);
  EXPECT_EQ(d.ts.text, "20240501120000");
  receipt& r = j.receipt_of(0);
  EXPECT_EQ(r.p_count, 2);
  EXPECT_EQ(r.e_count, 1);
  EXPECT_EQ(r.p_list[0].NM, "Хліб"_cp1251);
  EXPECT_EQ(r.p_list[0].SM, 1200.0f);
  EXPECT_EQ(r.p_list[0].Q, 2000.0f);
  EXPECT_EQ(r.p_list[0].TX, "1");
  EXPECT_EQ(positions(r), (std::vector<sequence_entry>{{1, 0}, {1, 1}, {11, 0}}));
  EXPECT_EQ(r.end.NO, 138.0f);
  EXPECT_EQ(r.end.SM, 1200.0f);
  EXPECT_EQ(j.journal.receipt_no_min, 138);
  EXPECT_EQ(j.journal.receipt_no_max, 138);
  EXPECT_EQ(j.journal.mac(1).NT, 5.0f);  // a MAC is filed after its own advance
  EXPECT_EQ(j.journal.macs.count(0), 0u);
}

TEST(LoadJournal, EveryElementIsClosedByTheNextWhateverItsDepth) {
  std::string lines = "<DAT><C T=\"0\">";
  int n = 1;
  for (int i = 0; i < 3; ++i) lines += "<L N=\"" + std::to_string(n++) + "\">c</L>";
  for (int i = 0; i < 12; ++i) lines += "<P N=\"" + std::to_string(n++) + "\"/>";
  lines += "<M N=\"" + std::to_string(n++) + "\" SM=\"5\"/>";
  lines += "<E N=\"" + std::to_string(n++) + "\"><TX TX=\"1\" TXSM=\"10\"/><TX TX=\"2\"/><TX TXPR=\"20.00\"/></E>";
  lines += "</C><TS>20240501120000</TS></DAT><MAC/>";
  Loaded j = load(lines);
  receipt& r = j.receipt_of(0);
  EXPECT_EQ(r.l_count, 3);
  EXPECT_EQ(r.p_count, 12);
  EXPECT_EQ(r.m_count, 1);
  EXPECT_EQ(r.e_count, 1);  // closed by the first TX, one level down
  EXPECT_EQ(r.line_total(), 17);
  std::vector<sequence_entry> expected;
  for (int i = 0; i < 3; ++i) expected.push_back({line_kind::L, i});
  for (int i = 0; i < 12; ++i) expected.push_back({line_kind::P, i});
  expected.push_back({line_kind::M, 0});
  expected.push_back({line_kind::E, 0});
  EXPECT_EQ(positions(r), expected);
  EXPECT_EQ(r.end.tx_count, 3);  // the last TX closed by TS, one level up
  EXPECT_TRUE(r.end.has_tx);
  EXPECT_EQ(r.end.tx_list[0].TXSM, 10.0f);
  EXPECT_EQ(r.end.tx_list[1].TX, "2");
  EXPECT_EQ(r.end.tx_list[2].TX, " ");
  EXPECT_EQ(r.end.tx_list[2].TXPR, 20.0f);
  EXPECT_EQ(r.l_list[2].text, "c");
}

TEST(LoadJournal, LineKindsTakeConsecutivePositions) {
  Loaded j = load(
      "<DAT><C><P N=\"1\"/><S N=\"2\" TR=\"1\" PR=\"5.00\"/><P N=\"3\"/><D N=\"4\" SM=\"100\"/>"
      "<CP N=\"5\"/><I N=\"6\" SM=\"1\"/><O N=\"7\" SM=\"2\"/><H N=\"8\">h</H><VD N=\"9\" NI=\"2\"/>"
      "<E N=\"10\"/></C><TS>1</TS></DAT><MAC/>");
  receipt& r = j.receipt_of(0);
  EXPECT_EQ(positions(r), (std::vector<sequence_entry>{{1, 0}, {4, 0}, {1, 1}, {3, 0}, {2, 0},
                                                       {6, 0}, {7, 0}, {9, 0}, {10, 0}, {11, 0}}));
  EXPECT_EQ(r.s_list[0].PR, 5.0f);
  EXPECT_EQ(r.d_list[0].SM, 100.0f);
  EXPECT_EQ(r.o_list[0].SM, 2.0f);
  EXPECT_EQ(r.h_list[0].text, "h");
  EXPECT_EQ(r.cancel.N, 9.0f);
  EXPECT_EQ(r.cancel.NI, 2.0f);
}

TEST(LoadJournal, ALineWithoutNIsStoredButTakesNoPosition) {
  Loaded j = load("<DAT><C><P NM=\"a\"/><P N=\"2\"/></C><TS>1</TS></DAT><MAC/>");
  receipt& r = j.receipt_of(0);
  EXPECT_EQ(r.p_list[0].NM, "a");
  EXPECT_EQ(r.line_total(), 2);
  EXPECT_EQ(positions(r), (std::vector<sequence_entry>{{0, 0}, {1, 1}}));
}

TEST(LoadJournal, MacAdvancesTheDocumentBeforeClosingTheLastElement) {
  // No TS: the open P is closed after the MAC moved on, so the count lands on document 1.
  Loaded j = load("<DAT><C><P N=\"1\"/></C></DAT><MAC/>\n<DAT><C><P N=\"1\"/></C><TS>1</TS></DAT><MAC/>");
  EXPECT_EQ(j.receipt_of(0).p_count, 0);
  EXPECT_EQ(j.receipt_of(1).p_count, 2);
  EXPECT_EQ(j.receipt_of(1).next_position, 3);
  EXPECT_EQ(j.receipt_of(1).sequence[2], (sequence_entry{line_kind::P, 1}));
}

TEST(LoadJournal, ADatWithoutItsMacSharesTheNextDocument) {
  Loaded j = load(
      "<DAT FN=\"A\"><C><P N=\"1\" NM=\"x\"/></C><TS>1</TS></DAT>\n"
      "<DAT FN=\"B\"><C><P N=\"2\" NM=\"y\"/></C><TS>2</TS></DAT><MAC/>");
  EXPECT_EQ(j.journal.doc_count, 1);
  EXPECT_EQ(j.journal.documents.size(), 1u);
  fiscal_document& d = j.doc(0);
  EXPECT_EQ(d.FN, "B");
  EXPECT_EQ(d.ts.text, "2");
  EXPECT_EQ(j.receipt_of(0).p_count, 2);
  EXPECT_EQ(j.receipt_of(0).p_list[1].NM, "y");
  EXPECT_EQ(positions(j.receipt_of(0)), (std::vector<sequence_entry>{{1, 0}, {1, 1}}));
}

TEST(LoadJournal, DocumentsAndMacsAreKeyedByTheDocumentCounter) {
  // A MAC that holds only its signature text still gives its document a mac record.
  for (const char* text : {"<DAT/><MAC NT=\"1\"/>\n<DAT/><MAC NT=\"2\"/>\n<DAT/><MAC NT=\"3\"/>",
                           "<DAT/><MAC>QUJD</MAC>\n<DAT/><MAC>QUJD</MAC>\n<DAT/><MAC NT=\"3\">QUJD</MAC>"}) {
    Loaded j = load(text);
    EXPECT_EQ(j.journal.doc_count, 3);
    std::vector<int> mac_keys;
    for (const auto& [key, m] : j.journal.macs) mac_keys.push_back(key);
    EXPECT_EQ(mac_keys, (std::vector<int>{1, 2, 3})) << text;
    EXPECT_EQ(j.journal.mac(3).NT, 3.0f);
  }
}

TEST(LoadJournal, OneLoaderServesASecondLoadAfterTheJournalIsCleared) {
  loaded_journal journal;
  loader_state state;
  JournalLoader loader(journal, state);
  const dom::Document first = dom::Document::parse(journal_text("<DAT FN=\"A\"/><MAC/>"));
  loader.LoadJournal(first.root());
  journal.clear();
  state.reset();
  const dom::Document second = dom::Document::parse(journal_text("<DAT FN=\"B\"/><MAC/>"));
  loader.LoadJournal(second.root());
  EXPECT_EQ(journal.document(0).FN, "B");
}

TEST(LoadJournal, ZReport) {
  Loaded j = load(
      "<DAT><Z NO=\"42\"><M T=\"0\" NM=\"ГОТІВКА\" SMI=\"1000\"/><IO NM=\"a\" SMT=\"7\"/>"
      "<M SMO=\"3\"/><NC NI=\"5\" NO=\"1\"/><M SMI=\"9\"/><TXS TX=\"1\" TS=\"20240101\" TXI=\"2\"/>"
      "<TXS SMI=\"4\"/><M SMI=\"8\"/></Z><TS>1</TS></DAT><MAC/>");
  EXPECT_FALSE(j.doc(0).is_receipt);
  z_report& z = j.zreport(0);
  EXPECT_EQ(z.NO, 42.0f);
  EXPECT_EQ(z.m_count, 4);
  EXPECT_EQ(z.io_count, 1);
  EXPECT_EQ(z.nc_count, 1);
  EXPECT_EQ(z.txs_count, 2);
  EXPECT_TRUE(z.has_m && z.has_io && z.has_nc && z.has_txs);
  EXPECT_EQ(z.m_list[0].NM, "ГОТІВКА"_cp1251);
  EXPECT_EQ(z.m_list[1].SMO, 3.0f);
  EXPECT_EQ(z.m_list[3].SMI, 8.0f);
  EXPECT_EQ(z.io_list[0].SMT, 7.0f);
  EXPECT_EQ(z.txs_list[0].TS, "20240101");
  EXPECT_EQ(z.txs_list[1].SMI, 4.0f);
  EXPECT_TRUE(j.doc(0).receipts.empty());
  EXPECT_EQ(j.journal.z_no_min, 42);
}

TEST(LoadJournal, MIsAReceiptPaymentUnlessItFollowsAZReportElement) {
  struct Case {
    std::string before;
    bool z_total;
  };
  const Case cases[] = {
      {"<Z>", true},          {"<Z><IO/>", true},      {"<Z><NC/>", true},
      {"<Z><TXS/>", true},    {"<Z><M/>", true},       {"<C><P N=\"1\"/>", false},
      {"<C>", false},         {"<Z><!--x-->", false},  {"<Z><XYZ/>", false},
  };
  for (const Case& c : cases) {
    const std::string close = c.before.starts_with("<Z>") ? "</Z>" : "</C>";
    Loaded j = load("<DAT>" + c.before + "<M NM=\"pay\"/>" + close + "</DAT><MAC/>");
    fiscal_document& d = j.doc(0);
    const bool in_z = d.zreports.count(0) && d.zreports[0].has_m &&
                      std::prev(d.zreports[0].m_list.end())->second.NM == "pay";
    const bool in_c = d.receipts.count(0) && !d.receipts[0].m_list.empty() &&
                      d.receipts[0].m_list.begin()->second.NM == "pay";
    EXPECT_EQ(in_z, c.z_total) << c.before;
    EXPECT_EQ(in_c, !c.z_total) << c.before;
  }
}

TEST(LoadJournal, KindsWithoutValuesStillCount) {
  Loaded j = load("<DAT><Z><TXS/><TXS TX=\"2\"/></Z><TS>1</TS></DAT><MAC/>");
  z_report& z = j.zreport(0);
  EXPECT_EQ(z.txs_count, 2);
  EXPECT_EQ(z.txs_list.count(0), 0u);  // the bare TXS added no record
  EXPECT_EQ(z.txs_list[1].TX, "2");

  Loaded bare = load("<DAT><Z><TXS/></Z></DAT><MAC/>");
  EXPECT_FALSE(bare.journal.document(0).zreports[0].has_txs);
  EXPECT_TRUE(bare.journal.document(0).is_receipt);  // Z without NO

  Loaded z_then_c = load("<DAT><Z NO=\"1\"/><C/></DAT><MAC/>");
  EXPECT_FALSE(z_then_c.journal.document(0).is_receipt);  // C without T
}

TEST(LoadJournal, UnknownNamesAreFiledUnderCodeZero) {
  struct Case {
    std::string lines;
    float p_n;
    float v;
  };
  const Case cases[] = {
      {"<DAT><C><P N=\"3\" XY=\"7\"/></C></DAT>", 7, 1},  // the later attribute wins
      {"<DAT><C><P XY=\"7\" N=\"3\"/></C></DAT>", 3, 1},
      {"<DAT><C><P N=\"3\"/><XYZ Q=\"9\"/></C></DAT>", 3, 9},  // unknown element reads as RQ
      {"<DAT><C><P N=\"3\"/><!--c--></C></DAT>", 3, 1},
  };
  for (const Case& c : cases) {
    Loaded j = load(c.lines);
    EXPECT_EQ(j.receipt_of(0).p_list[0].N, c.p_n) << c.lines;
    EXPECT_EQ(j.journal.V, c.v) << c.lines;
  }
  Loaded j = load("<DAT><C><E N=\"1\" ZZ=\"4\"/></C><TS XX=\"20240101000000\"/></DAT>");
  EXPECT_EQ(j.receipt_of(0).end.N, 4.0f);
  EXPECT_EQ(j.doc(0).ts.text, "20240101000000");
  EXPECT_EQ(j.state.names().element_table().count("XYZ"), 0u);
  EXPECT_EQ(j.state.names().attribute_table(element::E)->at("ZZ"), 0);
}

TEST(LoadJournal, OnlyTsLAndHFileTheirText) {
  Loaded j = load(
      "<DAT><C><L N=\"1\"/><L N=\"2\">a<![CDATA[&b]]></L><P N=\"3\">ignored</P></C><TS/></DAT>"
      "<MAC>QUJD</MAC>");
  receipt& r = j.receipt_of(0);
  EXPECT_EQ(r.l_list[0].text, "");
  EXPECT_EQ(r.l_list[1].text, "a&b");
  EXPECT_EQ(r.p_list[0].NM, "");
  EXPECT_EQ(j.doc(0).ts.text, "");  // <TS/> files nothing
}

TEST(LoadJournal, ConversionFailureStopsTheLoadAndKeepsWhatWasFiled) {
  struct Case {
    std::string attribute;
    bool fails;
  };
  const Case cases[] = {
      {"SM=\" 12\"", false}, {"SM=\"1,5\"", true}, {"SM=\"\"", true},
      {"SM=\"1e39\"", true}, {"NM=\"1,5\"", false}, {"XY=\"abc\"", true},
  };
  for (const Case& c : cases) {
    Loaded j;
    const std::string lines =
        "<DAT FN=\"F\"><C><P N=\"1\" " + c.attribute + "/><P N=\"2\"/></C><TS>1</TS></DAT><MAC/>";
    if (c.fails) {
      EXPECT_THROW(load_into(j, lines), ConversionError) << c.attribute;
      EXPECT_EQ(j.receipt_of(0).p_count, 0) << c.attribute;
    } else {
      EXPECT_NO_THROW(load_into(j, lines)) << c.attribute;
      EXPECT_EQ(j.receipt_of(0).p_count, 2) << c.attribute;
    }
    EXPECT_EQ(j.doc(0).FN, "F");
    EXPECT_EQ(j.receipt_of(0).p_list[0].N, 1.0f);
  }
  Loaded j;
  EXPECT_THROW(load_into(j, "<XYZ V=\"3\"/><XYZ V=\"x\"/>"), ConversionError);
  EXPECT_EQ(j.journal.V, 3.0f);
}

TEST(LoadJournal, NumberRangesNeedAWholeNumberThatFits) {
  Loaded j;
  EXPECT_THROW(load_into(j, "<DAT><Z NO=\"3e10\"/></DAT>"), ConversionError);
  EXPECT_EQ(j.zreport(0).NO, 3e10f);  // the field was filed before the range failed
  EXPECT_EQ(j.journal.z_no_max, 0);
  EXPECT_TRUE(j.doc(0).is_receipt);

  Loaded k = load("<DAT><C><E NO=\"16777217\"/></C></DAT><MAC/><DAT><C><E NO=\"12.7\"/></C></DAT>");
  EXPECT_EQ(k.receipt_of(0).end.NO, 16777216.0f);
  EXPECT_EQ(k.journal.receipt_no_min, 12);
  EXPECT_EQ(k.journal.receipt_no_max, 16777217);
}

// The text read one document at a time fills the journal as the parsed whole does.
TEST(LoadJournalText, FillsTheJournalAsTheWholeTreeDoes) {
  const std::string texts[] = {
      "<DAT FN=\"1\"><C T=\"0\"><P N=\"1\" NM=\"Хліб\" SM=\"1250\"/><E N=\"2\" NO=\"5\"/></C><TS>20240501120000</TS>"
      "</DAT><MAC DI=\"1\">QUJD</MAC>\r\n<DAT><Z NO=\"9\"><M T=\"0\" SMI=\"5\"/></Z></DAT><MAC/>",
      "<!-- a comment --><?pi x?><DAT><C><L N=\"1\">текст</L></C></DAT>\r\n  <MAC/>",
      "",
  };
  for (const std::string& lines : texts) {
    Loaded whole = load(lines);
    Loaded streamed;
    LoadJournalText(journal_text(lines), streamed.journal, streamed.state);
    EXPECT_EQ(streamed.journal.doc_count, whole.journal.doc_count) << lines;
    EXPECT_EQ(streamed.journal.V, whole.journal.V);
    EXPECT_EQ(streamed.journal.receipt_no_max, whole.journal.receipt_no_max);
    EXPECT_EQ(streamed.journal.z_no_max, whole.journal.z_no_max);
    for (std::int32_t i = 0; i < whole.journal.doc_count; ++i) {
      EXPECT_EQ(streamed.doc(i).is_receipt, whole.doc(i).is_receipt);
      EXPECT_EQ(streamed.doc(i).ts.text, whole.doc(i).ts.text);
    }
  }
}

// What the walk filed, in a form two journals can be compared by.
std::string filed(Loaded& j) {
  std::string out = "V=" + std::to_string(j.journal.V) + " docs=" + std::to_string(j.journal.doc_count) +
                    " current=" + std::to_string(j.state.current());
  for (std::int32_t i = 0; i <= j.journal.doc_count; ++i) {
    fiscal_document& d = j.doc(i);
    receipt& r = d.receipts[d.receipt_key];
    z_report& z = d.zreports[d.zreport_key];
    out += "\n" + std::to_string(i) + (d.is_receipt ? " receipt" : " z") + " FN=" + std::string(d.FN) +
           " TS=" + std::string(d.ts.text) + " mac=" + std::to_string(j.journal.mac(i).DI);
    for (std::int32_t p = 0; p < r.p_count + 1; ++p)
      out += " P" + std::to_string(r.p_list[p].N) + ":" + std::string(r.p_list[p].NM);
    for (std::int32_t l = 0; l < r.l_count + 1; ++l)
      out += " L" + std::to_string(r.l_list[l].N) + ":" + std::string(r.l_list[l].text);
    out += " M" + std::to_string(r.m_count) + "/" + std::to_string(z.m_count) + (z.has_m ? "+" : "-") +
           " next=" + std::to_string(r.next_position);
  }
  return out;
}

// The streamed walk files what the walk over the whole tree files, node for node.
TEST(LoadJournalText, FilesWhatTheWholeTreeFilesWhateverTheNodes) {
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n";
  const std::string texts[] = {
      // an unknown element with attributes and children, an unknown attribute
      journal_text("<DAT><C><P N=\"1\" XY=\"7\" NM=\"a\"/><XYZ Q=\"9\" R=\"4\"><P N=\"5\"/></XYZ></C></DAT><MAC/>"),
      // M after the Z-report's elements, then after a receipt line
      journal_text("<DAT><Z NO=\"1\"><M T=\"0\" SMI=\"5\"/><M SMI=\"6\"/></Z></DAT><MAC/>"
                   "<DAT><C><P N=\"1\"/><M N=\"2\" SM=\"3\"/></C></DAT><MAC/>"),
      // comments and processing instructions are nodes; one named MAC counts a document
      journal_text("<DAT><C><!--c--><P N=\"1\"/><?MAC x?><L N=\"2\">t<!--x-->u</L><L N=\"3\"> </L></C></DAT><MAC/>"),
      // CDATA sections: text of an element that holds only text, and nodes of their own
      journal_text("<DAT><C><L N=\"1\"><![CDATA[a]]><![CDATA[b]]></L><L N=\"2\">x<![CDATA[y]]>z</L><![CDATA[q]]>"
                   "<P N=\"3\"/></C><TS><![CDATA[2024]]></TS></DAT><MAC>QU<![CDATA[JD]]></MAC><![CDATA[r]]>"),
      // a DAT without its MAC shares the next document; whitespace and Cyrillic names
      journal_text("<DAT FN=\"1\"><C><P N=\"1\" NM=\"Хліб\"/></C></DAT>\r\n<DAT FN=\"2\"><C> <Ж N=\"2\"/><P N=\"2\"/>"
                   "</C><TS> 2024 </TS></DAT><MAC DI=\"4\"/>"),
      // entities stay references: in values as written, in content as nodes of their name
      declaration + "<!DOCTYPE RQ [<!ENTITY e \"<P N='9'/>\"><!ENTITY t \"5\"><!ENTITY P \"x\">]>\r\n<RQ V=\"1\">"
                    "<DAT><C><P N=\"1\" NM=\"a&t;b&amp;c&#38;&#x41;\"/>&e;<L N=\"2\">x&t;</L><L N=\"3\">&amp;&#65;</L>"
                    "&P;<P N=\"4\"/></C></DAT><MAC/></RQ>",
      // prefixed names are no names of the tables
      declaration + "<RQ xmlns:x=\"urn:x\" V=\"2\"><x:DAT FN=\"3\"><C x:T=\"1\"><P N=\"1\"/></C></x:DAT><MAC/></RQ>",
  };
  for (const std::string& text : texts) {
    Loaded whole;
    const dom::Document doc = dom::Document::parse(text);
    LoadJournal(doc.root(), whole.journal, whole.state);
    Loaded streamed;
    LoadJournalText(text, streamed.journal, streamed.state);
    EXPECT_EQ(filed(streamed), filed(whole)) << text;
  }
}

// talqen-cli render shows the documents before a failure: each one whose MAC was read
// whole is handed out, however near the failure is.
TEST(LoadJournalText, EveryDocumentReadWholeBeforeAFailureIsHandedOut) {
  std::string documents;
  for (int i = 0; i < 300; ++i) documents += "<DAT><C><E NO=\"" + std::to_string(i + 1) + "\"/></C></DAT><MAC/>\r\n";
  const std::string whole = journal_text(documents);
  const std::size_t document_101 = whole.find("<DAT><C><E NO=\"101\"");
  struct Case {
    const char* what;
    std::string text;
    std::int32_t handed_out;
  };
  const Case cases[] = {
      {"a bad end tag in document 101", std::string(whole).replace(whole.find("</DAT>", document_101), 6, "</DAX>"), 100},
      {"cut inside document 101", whole.substr(0, document_101 + 10), 100},
      {"cut inside the MAC of document 101", whole.substr(0, whole.find("<MAC/>", document_101) + 3), 100},
      {"junk after the root", whole + "<RQ/>", 300},
  };
  for (const Case& c : cases) {
    Loaded j;
    std::int32_t handed_out = 0;
    EXPECT_THROW(LoadJournalText(c.text, j.journal, j.state, [&](std::int32_t) { ++handed_out; }), ParseError)
        << c.what;
    EXPECT_EQ(handed_out, c.handed_out) << c.what;
  }
}

// The journal window's lines, read without joining them, give what the text they make
// joined gives: filed values, documents handed out, failures and their messages.
TEST(LoadJournalText, LinesReadAsTheTextTheyMakeJoined) {
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";
  const std::string document = "<DAT FN=\"1\"><C><P N=\"1\" NM=\"Хліб\"/><E N=\"2\" NO=\"7\"/></C></DAT><MAC/>";
  std::string split_attributes_first = "<DAT";
  for (int i = 0; i < 200; ++i) split_attributes_first += " a" + std::to_string(i) + "=\"1\"";
  std::string split_attributes_second;
  for (int i = 200; i < 300; ++i) split_attributes_second += " a" + std::to_string(i) + "=\"1\"";
  const std::vector<std::vector<std::string>> cases = {
      {declaration, "<RQ V=\"1\">", text::from_utf8(document), text::from_utf8(document), "</RQ>"},
      {declaration, "<RQ V=\"1\">", "<DAT FN=\"1\"", "ZN=\"2\"><C><L N=\"1\">a", "", "b</L><P N=\"2\" NM=\"x",
       "y\"/></C></DAT><MAC", "/></RQ>"},
      {declaration, "<RQ V=\"1\"><!-- \"", "' --><DAT><C><L N=\"1\">" + std::string(70000, 'z') + "</L></C></DAT><MAC/>",
       "</RQ>"},
      {declaration, "<RQ V=\"1\">", split_attributes_first, split_attributes_second + "/><MAC/>", "</RQ>"},
      {declaration, "<RQ V=\"1\">", text::from_utf8(document), "<DAT><C><E NO=\"x\"/></C></DAT><MAC/>", "</RQ>"},
      {declaration, "<RQ V=\"1\">", text::from_utf8(document), "<DAT><C>"},
      {declaration, "<RQ V=\"1\">", text::from_utf8(document), "</RQ>", "<RQ/>"},
      {"<RQ/>"},
      {},
  };
  const auto load = [](const auto& text) {
    std::string result;
    for (const bool handing_out : {true, false}) {
      Loaded j;
      std::int32_t handed_out = 0;
      const document_closed count = [&](std::int32_t) { ++handed_out; };
      try {
        LoadJournalText(text, j.journal, j.state, handing_out ? count : document_closed{});
        result += "loaded";
      } catch (const ParseError& e) {
        result += std::string("not well-formed: ") + e.what();
      } catch (const ConversionError& e) {
        result += std::string("no number: ") + e.what();
      }
      result += " " + std::to_string(handed_out) + "\n" + (handing_out ? "" : filed(j));
    }
    return result;
  };
  for (const std::vector<std::string>& lines : cases) {
    const std::string joined = dom::JoinLines(lines);
    EXPECT_EQ(load(std::span<const std::string>(lines)), load(std::string_view(joined))) << joined.substr(0, 200);
  }
}

TEST(LoadJournalText, ATextThatIsNotWellFormedFilesNothing) {
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"the end is missing", journal_text("<DAT><C><E NO=\"5\"/></C></DAT><MAC/>").substr(0, 90)},
      {"junk after a good document", journal_text("<DAT><C><E NO=\"5\"/></C></DAT><MAC/><DAT><</DAT>")},
      {"a number that is none, then junk", journal_text("<DAT><C><E NO=\"5\"/></C></DAT><MAC/><DAT DI=\"x\"/><<")},
      {"junk after the root", journal_text("<DAT><C><E NO=\"5\"/></C></DAT><MAC/>") + "<RQ/>"},
  };
  for (const Case& c : cases) {
    Loaded j;
    j.journal.receipt_no_min = 3;
    j.journal.receipt_no_max = 4;
    EXPECT_THROW(LoadJournalText(c.text, j.journal, j.state), ParseError) << c.what;
    EXPECT_EQ(j.journal.doc_count, 0) << c.what;
    EXPECT_TRUE(j.journal.documents.empty()) << c.what;
    EXPECT_EQ(j.journal.receipt_no_min, 3) << c.what;
    EXPECT_EQ(j.journal.receipt_no_max, 4) << c.what;
    EXPECT_EQ(j.journal.V, 0.0f) << c.what;
  }
  // A number that is none in a well-formed text keeps what was filed before it.
  Loaded k;
  EXPECT_THROW(LoadJournalText(journal_text("<DAT><C><E NO=\"5\"/></C></DAT><MAC/><DAT DI=\"x\"/>"), k.journal, k.state),
               ConversionError);
  EXPECT_EQ(k.journal.receipt_no_max, 5);
}

}  // namespace
}  // namespace journal
