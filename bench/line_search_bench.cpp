// SPDX-License-Identifier: GPL-3.0-or-later
// "Найти" over the archive window's list: a million rendered lines of generated
// documents, the text held by no line (every line read) and by a line near the end.
#include <benchmark/benchmark.h>

#include <string>

#include "app/line_search.hpp"
#include "generated_journal.hpp"
#include "render/packed_lines.hpp"
#include "render/rendering_helpers.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "text/cp1251.hpp"

namespace {

const render::PackedLines& million_lines() {
  static const render::PackedLines lines = [] {
    render::PackedLines rendered;
    render::LineSink sink(rendered);
    retrieval::RenderJournalText(bench::generated_journal(30000), render::DocumentKind::Both, sink);
    render::PackedLines million;
    while (million.size() < 1000000)
      for (std::size_t i = 0; i < rendered.size() && million.size() < 1000000; ++i) million.push_back(rendered[i]);
    return million;
  }();
  return lines;
}

void BM_FindOverAMillionLines(benchmark::State& state) {
  const render::PackedLines& lines = million_lines();
  const std::string wanted = text::from_utf8(state.range(0) == 0 ? "кефір 3,2%" : "z-звіт n 750");
  for (auto _ : state)
    benchmark::DoNotOptimize(app::find_line(lines, wanted, std::size_t{0}, app::SearchDirection::Forwards));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_FindOverAMillionLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
