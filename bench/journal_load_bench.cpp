// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a journal text of 1,000 and 10,000 documents, beside a bare libxml2 parse of
// the same text, so the cost of the adapter and the loader shows against the parser's.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <span>
#include <string>
#include <vector>

#include "journal/journal_container.hpp"
#include "journal/journal_loader.hpp"
#include "journal/xml_dom.hpp"
#include "generated_journal.hpp"

namespace {

const std::string& journal_of(int documents) {
  static const std::string small = bench::generated_journal(1000);
  static const std::string large = bench::generated_journal(10000);
  return documents == 1000 ? small : large;
}

// Parse and load, as a retrieval does after assembling the text.
void BM_LoadJournal(benchmark::State& state) {
  const std::string& text = journal_of(static_cast<int>(state.range(0)));
  journal::loaded_journal journal;
  journal::loader_state control;
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
  journal::loaded_journal journal;
  journal::loader_state control;
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

// The streamed load, from the text and from its lines as the journal window keeps them.
void BM_LoadJournalText(benchmark::State& state) {
  const std::string& text = journal_of(static_cast<int>(state.range(0)));
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  if (journal::dom::JoinLines(lines) != text) state.SkipWithError("the lines do not make the text");
  const bool from_lines = state.range(1) != 0;
  journal::loaded_journal journal;
  journal::loader_state control;
  for (auto _ : state) {
    journal.clear();
    control.reset();
    if (from_lines)
      journal::LoadJournalText(std::span<const std::string>(lines), journal, control, {});
    else
      journal::LoadJournalText(text, journal, control);
    benchmark::DoNotOptimize(journal.doc_count);
  }
  if (journal.doc_count != state.range(0)) state.SkipWithError("wrong document count");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_LoadJournal)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadJournalText)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLibxml2Parse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
