// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering a loaded journal of 1,000 and 10,000 documents into the visible list, as a
// retrieval does after loading. The journal is loaded once; only the walk is timed.
#include <benchmark/benchmark.h>

#include <string>

#include "journal/journal_container.hpp"
#include "journal/journal_loader.hpp"
#include "journal/xml_dom.hpp"
#include "render/journal_renderer.hpp"
#include "generated_journal.hpp"

namespace {

const journal::loaded_journal& loaded_journal(int documents) {
  static const auto load = [](int count) {
    journal::loaded_journal journal;
    journal::loader_state state;
    const journal::dom::Document doc = journal::dom::Document::parse(bench::generated_journal(count));
    journal::LoadJournal(doc.root(), journal, state);
    return journal;
  };
  static const journal::loaded_journal small = load(1000);
  static const journal::loaded_journal large = load(10000);
  return documents == 1000 ? small : large;
}

void BM_RenderJournal(benchmark::State& state) {
  const journal::loaded_journal& journal = loaded_journal(static_cast<int>(state.range(0)));
  const journal::number_map by_ordinal;
  journal::number_map by_z_number;
  render::RenderContext context{render::DocumentKind::Both, by_ordinal, by_z_number};
  render::LineList lines;
  for (auto _ : state) {
    lines.clear();
    render::RenderJournal(journal, context, lines);
    benchmark::DoNotOptimize(lines.data());
  }
  if (journal.doc_count != state.range(0)) state.SkipWithError("wrong document count");
  state.counters["lines"] = static_cast<double>(lines.size());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_RenderJournal)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
