// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/xml_dom.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "journal/journal_container.hpp"
#include "journal/journal_errors.hpp"
#include "journal/journal_loader.hpp"
#include "text/cp1251.hpp"

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

using namespace text::literals;

namespace journal::dom {
namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n";

// The tree as names, children in brackets: RQ[#text,DAT[...]].
std::string shape(const Node& node) {
  std::string out = node.name();
  if (!node.has_children()) return out;
  out += '[';
  bool first = true;
  for (const Node child : node.children()) {
    if (!first) out += ',';
    first = false;
    out += shape(child);
  }
  return out + ']';
}

// Every value the loader could see: node values and attribute values, depth first.
void collect_values(const Node& node, std::string& out) {
  out += node.value();
  for (const Attribute a : node.attributes()) out += a.value();
  for (const Node child : node.children()) collect_values(child, out);
}

TEST(XmlDom, KeepsWhitespaceCommentsCdataAndInstructionsAsNodes) {
  const Document doc = Document::parse(kDeclaration +
                                       "<RQ V=\"1\">\n<DAT><!-- c --><L><![CDATA[a<b]]></L>"
                                       "<?pi data?></DAT>\n<MAC>QUJD</MAC>\n</RQ>");
  EXPECT_EQ(shape(doc.root()),
            "RQ[#text,DAT[#comment,L[#cdata-section],pi],#text,MAC[#text],#text]");
  EXPECT_EQ(doc.root().children().size(), 5u);
}

TEST(XmlDom, AttributesComeInDocumentOrder) {
  const Document doc = Document::parse("<P XY=\"7\" N=\"3\" a:Q=\"2\" xmlns:a=\"u\"/>");
  std::vector<std::string> seen;
  for (const Attribute a : doc.root().attributes()) seen.push_back(a.name() + "=" + a.value());
  EXPECT_EQ(seen, (std::vector<std::string>{"XY=7", "N=3", "a:Q=2"}));
}

TEST(XmlDom, AnElementHoldsOnlyTextWhenEveryChildIsText) {
  struct Case {
    std::string xml;
    bool holds;
    std::string value;
  };
  const Case cases[] = {
      {"<L>abc</L>", true, "abc"},
      {"<L>a<![CDATA[<b>]]>c</L>", true, "a<b>c"},
      {"<L> </L>", true, " "},
      {"<L/>", false, ""},
      {"<L></L>", false, ""},
      {"<L>a<X/></L>", false, ""},
      {"<L>a<!--c--></L>", false, ""},
      {"<L>&amp;&#1040;</L>", true, "&" + std::string("А"_cp1251)},
  };
  for (const Case& c : cases) {
    const Document doc = Document::parse(c.xml);
    EXPECT_EQ(doc.root().holds_only_text(), c.holds) << c.xml;
    EXPECT_EQ(doc.root().value(), c.value) << c.xml;
  }
}

TEST(XmlDom, ValuesComeBackAsWindows1251) {
  // Every byte of the declared encoding survives, 0x98 (undefined) included.
  std::string all;
  for (int b = 0xC0; b <= 0xFF; ++b) all += static_cast<char>(b);
  all += '\x98';
  all += '\xB9';
  const Document doc =
      Document::parse(kDeclaration + "<RQ NM=\"" + all + "\">" + all + "</RQ>");
  EXPECT_EQ(doc.root().value(), all);
  EXPECT_EQ((*doc.root().attributes().begin()).value(), all);

  // A UTF-8 text: a character Windows-1251 lacks is one "?" each.
  const Document utf8 = Document::parse("<RQ NM=\"\xE2\x82\xAC\xE4\xB8\x80\xF0\x9F\x98\x80\xD0\x96\"/>");
  EXPECT_EQ((*utf8.root().attributes().begin()).value(), "\x88??" + std::string("Ж"_cp1251));
}

TEST(XmlDom, JoinsLinesAsTheJournalFileHoldsThem) {
  const std::vector<std::string> lines = {kDeclaration.substr(0, kDeclaration.size() - 1),
                                          "<RQ V=\"1\">", "<DAT/><MAC/>", "</RQ>"};
  const Document doc = Document::parse_lines(lines);
  EXPECT_EQ(shape(doc.root()), "RQ[#text,DAT,MAC,#text]");
}

TEST(XmlDom, TextsThatCannotBeReadFailToParse) {
  const std::string cases[] = {
      "",
      "<RQ>",
      "<RQ></DAT>",
      "<RQ V=1/>",
      "<RQ/><RQ/>",
      "<?xml version=\"1.0\" encoding=\"x-unknown-42\"?><RQ/>",
      std::string("<RQ>\0</RQ>", 10),
      "<RQ>&undefined;</RQ>",
      "<?xml version=\"1.0\"?><RQ>\xFF\xFE</RQ>",  // not UTF-8
      "<RQ><x:P N=\"1\"/></RQ>",                    // a prefix never declared
  };
  for (const std::string& text : cases) {
    EXPECT_THROW(Document::parse(text), ParseError) << text;
  }
}

TEST(XmlDom, DeepNestingFailsInsteadOfExhaustingTheStack) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "<a>";
  for (int i = 0; i < 100000; ++i) text += "</a>";
  EXPECT_THROW(Document::parse(text), ParseError);
}

#ifdef __linux__
// Watches a file for being opened while the parse runs.
class OpenWatch {
 public:
  explicit OpenWatch(const std::filesystem::path& file)
      : fd_(inotify_init1(IN_NONBLOCK)) {
    watch_ = inotify_add_watch(fd_, file.c_str(), IN_OPEN | IN_ACCESS);
  }
  ~OpenWatch() { close(fd_); }
  bool ready() const { return fd_ >= 0 && watch_ >= 0; }
  bool touched() const {
    alignas(inotify_event) char buffer[4096];
    return read(fd_, buffer, sizeof buffer) > 0;
  }

 private:
  int fd_;
  int watch_ = -1;
};

TEST(XmlDom, ExternalEntitiesAndDtdsAreNeverRead) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("talqen_xxe_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path secret = dir / "secret.txt";
  std::ofstream(secret) << "<!ENTITY leak \"TOPSECRET\">TOPSECRET";
  const std::string url = "file://" + secret.string();

  const std::string cases[] = {
      "<!DOCTYPE RQ [<!ENTITY x SYSTEM \"" + url + "\">]><RQ><L N=\"1\">&x;</L></RQ>",
      "<!DOCTYPE RQ [<!ENTITY x SYSTEM \"" + url + "\">]><RQ><P NM=\"&x;\"/></RQ>",
      "<!DOCTYPE RQ [<!ENTITY % p SYSTEM \"" + url + "\"> %p;]><RQ><L>&leak;</L></RQ>",
      "<!DOCTYPE RQ SYSTEM \"" + url + "\"><RQ><L>&leak;</L></RQ>",
      "<RQ xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + url +
          "\" parse=\"text\"/></RQ>",
  };
  for (const std::string& text : cases) {
    OpenWatch watch(secret);
    ASSERT_TRUE(watch.ready());
    try {
      const Document doc = Document::parse(kDeclaration + text);
      std::string values;
      collect_values(doc.root(), values);
      EXPECT_EQ(values.find("TOPSECRET"), std::string::npos) << text;
      loaded_journal journal;
      loader_state state;
      LoadJournal(doc.root(), journal, state);
      EXPECT_EQ(journal.document(0).receipts[0].l_list[0].text, "") << text;
    } catch (const JournalError&) {
      // Refusing the text is as good as not reading the file.
    }
    EXPECT_FALSE(watch.touched()) << text;
  }
  {
    OpenWatch control_watch(secret);  // the watch does see a read
    std::ifstream(secret).get();
    EXPECT_TRUE(control_watch.touched());
  }
  std::filesystem::remove_all(dir);
}
#endif

long peak_rss_kb() {
#ifdef _WIN32
  return 0;  // the parse's own limits are what the test is about; memory is measured on Linux
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

TEST(XmlDom, EntityExpansionBombsFailOrStayUnexpanded) {
  std::string billion_laughs = "<!DOCTYPE RQ [<!ENTITY l0 \"lol\">";
  for (int i = 1; i <= 9; ++i) {
    billion_laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) billion_laughs += "&l" + std::to_string(i - 1) + ";";
    billion_laughs += "\">";
  }
  billion_laughs += "]><RQ V=\"&l9;\"><L N=\"1\">&l9;</L><P NM=\"&l9;\"/></RQ>";

  // One large entity used many times: quadratic rather than exponential growth.
  std::string quadratic = "<!DOCTYPE RQ [<!ENTITY big \"" + std::string(50000, 'x') + "\">]><RQ>";
  for (int i = 0; i < 2000; ++i) quadratic += "<P NM=\"&big;\">&big;</P>";
  quadratic += "</RQ>";

  for (const std::string& text : {billion_laughs, quadratic}) {
    const long rss_before = peak_rss_kb();
    const auto start = std::chrono::steady_clock::now();
    try {
      const Document doc = Document::parse(kDeclaration + text);
      std::string values;
      collect_values(doc.root(), values);
      EXPECT_LT(values.size(), 1u << 20);
    } catch (const ParseError&) {
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_LT(peak_rss_kb() - rss_before, 64 * 1024);
  }
}

}  // namespace
}  // namespace journal::dom
