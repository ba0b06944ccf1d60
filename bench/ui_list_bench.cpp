// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window's list of rendered lines with a million lines: handing the lines to
// the view and showing the first screenful, as after a long retrieval.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <string>
#include <vector>

#include "render/packed_lines.hpp"

#include "text/cp1251.hpp"
#include "ui/line_list_model.hpp"

namespace {

void BM_ShowLines(benchmark::State& state) {
  const std::string line = text::from_utf8("  Олія соняшникова рафінована    12.50 A");
  render::PackedLines lines;
  for (std::int64_t i = 0; i < state.range(0); ++i) lines.push_back(line);
  ui::LineListModel model(lines);
  QListView view;
  ui::show_lines_in(view, model);
  view.resize(473, 569);
  view.show();
  for (auto _ : state) {
    model.refresh();
    view.scrollToBottom();
    view.repaint();
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ShowLines)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
