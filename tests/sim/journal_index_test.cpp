// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/journal_index.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "journal/journal_container.hpp"
#include "journal/journal_loader.hpp"
#include "journal/xml_dom.hpp"
#include "sim/sample_journal.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace text::literals;
using sim::JournalIndex;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";

TEST(JournalIndex, CutsTheTextIntoDocumentsByteForByte) {
  struct Case {
    const char* what;
    std::string body;                   // inside <RQ V="1">
    std::vector<long> numbers;
    std::vector<std::string> bytes;
    std::optional<long> first_number = std::nullopt;  // --first-number
  };
  const std::string dat7 = R"(<DAT DI="7"><C T="0"><L N="1">a &lt; b</L></C><TS>20240513091200</TS></DAT>)";
  const std::string mac7 = R"(<MAC DI="7">QUJD</MAC>)";
  const std::string dat = R"(<DAT note='x > y'><Z NO="3"/></DAT>)";
  const Case cases[] = {
      {"numbers from DI", dat7 + mac7, {7}, {dat7 + mac7}},
      {"numbers by position", dat + "<MAC/>" + dat + "<MAC/>", {1, 2}, {dat + "<MAC/>", dat + "<MAC/>"}},
      {"whitespace and comments between", "\r\n  " + dat7 + "\r\n<!-- <DAT> -->\r\n" + mac7 + "\r\n", {7}, {dat7 + mac7}},
      {"a DAT without its MAC", dat + dat7 + mac7, {1, 7}, {dat, dat7 + mac7}},
      {"CDATA holding markup", R"(<DAT><C><L><![CDATA[</DAT><MAC>]]></L></C></DAT><MAC>x</MAC>)", {1},
       {R"(<DAT><C><L><![CDATA[</DAT><MAC>]]></L></C></DAT><MAC>x</MAC>)"}},
      {"an empty journal", "", {}, {}},
      {"numbered anew, DI written or added", dat7 + mac7 + dat + "<MAC/>", {4188, 4189},
       {R"(<DAT DI="4188"><C T="0"><L N="1">a &lt; b</L></C><TS>20240513091200</TS></DAT><MAC DI="4188">QUJD</MAC>)",
        R"(<DAT DI="4189" note='x > y'><Z NO="3"/></DAT><MAC DI="4189"/>)"},
       4188},
  };
  for (const Case& c : cases) {
    const JournalIndex index =
        JournalIndex::from_text(kDeclaration + "<RQ V=\"1\">" + c.body + "</RQ>", c.first_number);
    ASSERT_EQ(index.documents().size(), c.numbers.size()) << c.what;
    for (std::size_t i = 0; i < c.numbers.size(); ++i) {
      EXPECT_EQ(index.documents()[i].number, c.numbers[i]) << c.what;
      EXPECT_EQ(index.documents()[i].bytes, c.bytes[i]) << c.what;
      EXPECT_EQ(index.by_number(c.numbers[i]), &index.documents()[i]) << c.what;
    }
  }
}

TEST(JournalIndex, RefusesWhatIsNotAJournal) {
  const char* cases[] = {
      "<RQ><DAT></RQ>",                               // not well-formed
      "<RQ><DAT/><FOO/></RQ>",                        // an element that is no document
      "<RQ><MAC/><DAT/></RQ>",                        // a MAC before any DAT
      "<RQ><DAT DI=\"12.5\"/><MAC/></RQ>",            // DI not a whole number
      "<RQ><DAT><Z NO=\"x\"/></DAT><MAC/></RQ>",      // Z NO not a whole number
      "",
  };
  for (const char* text : cases) EXPECT_THROW(JournalIndex::from_text(text), sim::JournalError) << text;
}

TEST(JournalIndex, MinuteStampsOfTimestampsAndOfCommandFields) {
  EXPECT_EQ(sim::minute_stamp_of_ts("20240513091259"), 202405130912);
  EXPECT_EQ(sim::minute_stamp_of("130524", "0912"), 202405130912);
  EXPECT_EQ(sim::minute_stamp_of("290224", "2359"), 202402292359);
  for (const char* ts : {"2024051309125", "202405130912599", "2024051309125x", "20241313091200", "20240513246000",
                         "20240231000000", "20240500000000"})
    EXPECT_FALSE(sim::minute_stamp_of_ts(ts)) << ts;
  const std::pair<const char*, const char*> bad[] = {
      {"320524", "0000"}, {"001224", "0000"}, {"011324", "0000"}, {"01052", "0000"},
      {"010524", "2400"}, {"010524", "0060"}, {"010524", "12:0"}, {"31O524", "0000"},
  };
  for (const auto& [date, time] : bad) EXPECT_FALSE(sim::minute_stamp_of(date, time)) << date << " " << time;
}

TEST(JournalIndex, DocumentsWithoutAMomentAreNotFoundByDate) {
  const JournalIndex index = JournalIndex::from_text(
      "<RQ><DAT DI='5'><TS>20240513091200</TS></DAT><MAC/><DAT DI='6'><TS>soon</TS></DAT><MAC/>"
      "<DAT DI='4'><TS>20240513091300</TS></DAT><MAC/></RQ>");
  EXPECT_EQ(index.numbers_between(202405130000, 202405132359), (std::pair<long, long>{4, 5}));
  EXPECT_EQ(index.numbers_between(202405130913, 202405130913), (std::pair<long, long>{4, 4}));
  EXPECT_FALSE(index.numbers_between(202405130914, 202405132359));
}

// One check per element kind the sample must show.
TEST(SampleJournal, CoversEveryElementKindOverSeveralDays) {
  const std::string text = sim::sample_journal_text();
  const JournalIndex index = JournalIndex::from_text(text);
  ASSERT_GE(index.documents().size(), 30u);

  std::set<long> days;
  long z_reports = 0;
  for (std::size_t i = 0; i < index.documents().size(); ++i) {
    const auto& doc = index.documents()[i];
    EXPECT_EQ(doc.number, static_cast<long>(i + 1));
    ASSERT_TRUE(doc.moment) << doc.number;
    days.insert(*doc.moment / 10000);
    if (doc.z_number) ++z_reports;
    EXPECT_TRUE(doc.bytes.starts_with("<DAT") && doc.bytes.ends_with("</MAC>")) << doc.number;
  }
  EXPECT_GE(days.size(), 3u);
  EXPECT_GE(z_reports, 3);

  const std::pair<const char*, std::string> kinds[] = {
      {"sale receipt", R"(<C T="0">)"},
      {"return receipt", R"(<C T="1">)"},
      {"service receipt", R"(<C T="2">)"},
      {"cancelled receipt", R"(<VD N="\d+"[^>]*/>.*VD="1")"},
      {"item", R"(<P N=)"},
      {"item kept apart", R"(<CP N=)"},
      {"discount by percent", R"(<D [^>]*TY="1")"},
      {"fixed discount", R"(<D [^>]*TY="0")"},
      {"markup", R"(<S N=)"},
      {"credit payment", std::string(R"(<M N="\d+" T="1" NM=")") + std::string("КРЕДИТ"_cp1251) + R"([^>]*RRN=")"},
      {"change given", R"(<M N=[^>]*RM="[1-9])"},
      {"cash deposit", R"(<I N=)"},
      {"cash withdrawal", R"(<O N=)"},
      {"comment", R"(<L N="\d+">[^<]+</L>)"},
      {"service information", R"(<H N="\d+">[^<]+</H>)"},
      {"end with tax children", R"(<E [^>]*[^/]><TX TX=)"},
      {"end without tax children", R"(<E [^>]*TXPR=[^>]*/>)"},
      {"excise on a receipt", R"(<E [^>]*DTPR="20.00"[^>]*TXAL="1")"},
      {"Z-report totals", R"(<Z NO="\d+"><M T=)"},
      {"cash movements", R"(<IO [^>]*SMT=)"},
      {"receipt counts", R"(<NC NI="[1-9]\d*" NO="[1-9])"},
      {"tax totals with excise", R"(<TXS [^>]*DTI="[1-9])"},
      {"tax totals without excise", R"(<TXS [^>]*DTI="0")"},
  };
  for (const auto& [what, pattern] : kinds) EXPECT_TRUE(std::regex_search(text, std::regex(pattern))) << what;
}

TEST(SampleJournal, LoadsIntoTheJournalModelAndItsPaymentsCoverTheTotals) {
  const std::string text = sim::sample_journal_text();
  const auto document = journal::dom::Document::parse(text);
  journal::loaded_journal journal;
  journal::loader_state state;
  ASSERT_NO_THROW(journal::LoadJournal(document.root(), journal, state));
  EXPECT_EQ(static_cast<std::size_t>(journal.doc_count), JournalIndex::from_text(text).documents().size());

  // Every receipt that was paid: what was paid less the change is the receipt's total.
  int receipts = 0;
  for (const journal::dom::Node dat : document.root().children()) {
    for (const journal::dom::Node c : dat.children()) {
      if (c.name() != "C") continue;
      long paid = 0;
      long total = -1;
      bool cancelled = false;
      std::string kind;
      for (const auto& a : c.attributes()) kind = a.value();
      for (const journal::dom::Node line : c.children()) {
        for (const auto& a : line.attributes()) {
          if (line.name() == "M" && a.name() == "SM") paid += std::stol(a.value());
          if (line.name() == "M" && a.name() == "RM") paid -= std::stol(a.value());
          if (line.name() == "E" && a.name() == "SM") total = std::stol(a.value());
          if (line.name() == "E" && a.name() == "VD") cancelled = a.value() == "1";
        }
      }
      if (kind == "2" || cancelled) continue;
      ++receipts;
      EXPECT_EQ(paid, total);
    }
  }
  EXPECT_GE(receipts, 20);
}

}  // namespace
