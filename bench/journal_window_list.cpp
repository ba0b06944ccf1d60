// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window's list showing a fetched journal: the text loaded and rendered into
// the window's lines as a retrieval does, then shown in a list view (offscreen) and
// scrolled to its end. The benchmark table reads this program's peak memory.
// Usage: journal_window_list FILE
#include <QApplication>
#include <QListView>

#include <cstdio>
#include <optional>
#include <string>

#include "journal/journal_container.hpp"
#include "journal/number_map.hpp"
#include "render/packed_lines.hpp"
#include "render/render_context.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "text/atomic_file.hpp"
#include "ui/line_list_model.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: journal_window_list FILE\n", stderr);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The window keeps the fetched text beside its lines, and so does this.
  const std::optional<std::string> text = text::read_file(argv[1]);
  if (!text) {
    std::fputs("journal_window_list: cannot read the file\n", stderr);
    return 2;
  }
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::number_map document_by_ordinal;
  journal::number_map document_by_z_number;
  render::RenderContext context{render::DocumentKind::Both, document_by_ordinal, document_by_z_number};
  render::PackedLines lines;
  retrieval::LoadAndRender(*text, journal, state, context, lines);

  ui::LineListModel model(lines);
  QListView view;
  ui::show_lines_in(view, model);
  view.resize(473, 569);
  view.show();
  model.refresh();
  view.scrollToBottom();
  view.repaint();
  QCoreApplication::processEvents();
  std::printf("%zu lines\n", lines.size());
  return 0;
}
