// Loading a journal text of 1,000 and 10,000 documents, beside a bare libxml2 parse of
// the same text, so the cost of the adapter and the loader shows against the parser's.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>

#include "journal/journal_container.hpp"
#include "journal/journal_loader.hpp"
#include "journal/xml_dom.hpp"
#include "text/cp1251.hpp"

namespace {

// A journal as the register would hand it out: mostly receipts of a few lines, a
// Z-report every fiftieth document. Written in UTF-8 here, held in Windows-1251.
std::string make_journal(int documents) {
  static const char* const kItems[] = {"Хліб білий", "Молоко 2,5%", "Цукор", "Кава мелена",
                                       "Вода мінеральна"};
  std::string utf8 = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (int d = 0; d < documents; ++d) {
    const std::string no = std::to_string(1000 + d);
    utf8 += "<DAT FN=\"4000123456\" TN=\"ПН 123456789012\" ZN=\"АТ4001234567\" DI=\"" + no +
            "\" DT=\"0\" V=\"1\">";
    if (d % 50 == 49) {
      utf8 += "<Z NO=\"" + std::to_string(d / 50 + 1) + "\">"
              "<TXS TX=\"1\" TS=\"20230101\" TXPR=\"20.00\" TXI=\"150000\" TXO=\"0\" DTPR=\"0\" "
              "DTI=\"0\" DTO=\"0\" TXTY=\"0\" TXAL=\"0\" SMI=\"900000\" SMO=\"0\"/>"
              "<M T=\"0\" NM=\"ГОТІВКА\" SMI=\"700000\" SMO=\"0\"/>"
              "<M T=\"1\" NM=\"КАРТКА\" SMI=\"200000\" SMO=\"0\"/>"
              "<IO T=\"0\" NM=\"ГОТІВКА\" SMI=\"10000\" SMO=\"0\" SMT=\"710000\"/>"
              "<NC NI=\"48\" NO=\"1\"/></Z>";
    } else {
      utf8 += "<C T=\"0\">";
      const int lines = 2 + d % 5;
      int n = 1;
      for (int i = 0; i < lines; ++i) {
        utf8 += "<P N=\"" + std::to_string(n++) + "\" C=\"" + std::to_string(100 + i) +
                "\" CD=\"482000000" + std::to_string(i) + "\" NM=\"" + kItems[i % 5] +
                "\" SM=\"2450\" Q=\"1000\" PRC=\"2450\" TX=\"1\"/>";
      }
      if (d % 7 == 0) utf8 += "<D N=\"" + std::to_string(n++) + "\" TR=\"1\" TY=\"1\" PR=\"5.00\" SM=\"120\" TX=\"1\"/>";
      if (d % 11 == 0) utf8 += "<L N=\"" + std::to_string(n++) + "\">Дякуємо за покупку!</L>";
      utf8 += "<M N=\"" + std::to_string(n++) + "\" T=\"0\" NM=\"ГОТІВКА\" SM=\"20000\" RM=\"250\"/>";
      utf8 += "<E N=\"" + std::to_string(n++) + "\" NO=\"" + no +
              "\" SM=\"19750\" SE=\"0\" CS=\"1\" TS=\"20240501120000\" FN=\"4000123456\">"
              "<TX TX=\"1\" TXPR=\"20.00\" TXSM=\"3292\" DTPR=\"0\" DTSM=\"0\" TXTY=\"0\" TXAL=\"0\"/></E></C>";
    }
    utf8 += "<TS>20240501120000</TS></DAT>"
            "<MAC DI=\"" + no + "\" NT=\"1\">QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5ejAxMjM0NTY3ODk=</MAC>\r\n";
  }
  utf8 += "</RQ>\r\n";
  return text::from_utf8(utf8);
}

const std::string& journal_of(int documents) {
  static const std::string small = make_journal(1000);
  static const std::string large = make_journal(10000);
  return documents == 1000 ? small : large;
}

// Parse and load, as a retrieval does after assembling the text.
void BM_LoadJournal(benchmark::State& state) {
  const std::string& text = journal_of(static_cast<int>(state.range(0)));
  journal::rq journal;
  journal::control control;
  for (auto _ : state) {
    journal.clear();
    control.reset();
    const journal::dom::Document doc = journal::dom::Document::parse(text);
    journal::LoadJournal(doc.root(), journal, control);
    benchmark::DoNotOptimize(journal.doc_count);
  }
  if (journal.doc_count != state.range(0)) state.SkipWithError("wrong document count");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// The walk alone, over a text parsed once.
void BM_WalkOnly(benchmark::State& state) {
  const std::string& text = journal_of(static_cast<int>(state.range(0)));
  const journal::dom::Document doc = journal::dom::Document::parse(text);
  journal::rq journal;
  journal::control control;
  for (auto _ : state) {
    journal.clear();
    control.reset();
    journal::LoadJournal(doc.root(), journal, control);
    benchmark::DoNotOptimize(journal.doc_count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// libxml2 alone: parse the same text into a tree and free it.
void BM_BareLibxml2Parse(benchmark::State& state) {
  const std::string& text = journal_of(static_cast<int>(state.range(0)));
  // The adapter's first parse registers the Windows-1251 decoder both then use.
  journal::dom::Document::parse("<RQ/>");
  for (auto _ : state) {
    xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) {
      state.SkipWithError("parse failed");
      break;
    }
    xmlFreeDoc(doc);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_LoadJournal)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLibxml2Parse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
