// SPDX-License-Identifier: GPL-3.0-or-later
// The attention window of talqen-cli: while documents are fetched, one line on stderr
// redrawn in place with the progress text, a bar, the documents and bytes fetched and an
// estimate of the time left. Only when stderr is a terminal.
#pragma once

#include <cstdint>
#include <string>

#include "cli/terminal_output.hpp"
#include "link/clock.hpp"
#include "retrieval/attention_window.hpp"

namespace cli {

class TerminalProgress final : public retrieval::AttentionWindow {
 public:
  TerminalProgress(const Terminal& terminal, bool shown, device_link::Clock& clock)
      : terminal_(terminal), shown_(shown), clock_(clock) {}

  void set_caption(std::string_view) override {}
  void set_activity(std::string_view) override {}
  void set_progress(std::string_view text) override { text_ = text; }
  void show() override { started_ms_ = clock_.now_ms(); }
  void hide() override;
  void repaint() override {}
  bool is_active() const override { return shown_; }
  void progress_made(const retrieval::RetrievalProgress& progress) override;

 private:
  const Terminal& terminal_;
  bool shown_;
  device_link::Clock& clock_;
  std::int64_t started_ms_ = 0;
  std::string text_;
  bool drawn_ = false;
};

// "[#####     ]": done of total, in a bar of 20.
std::string progress_bar(std::int64_t done, std::int64_t total);
// ", about 12 s left" while done is short of total; empty otherwise.
std::string time_left(std::int64_t done, std::int64_t total, std::int64_t elapsed_ms);

// The line after the progress text: "[#####     ] 3/10 asked, 2 documents, 4.2 KB, about 12 s left".
std::string progress_figures(const retrieval::RetrievalProgress& progress, std::int64_t elapsed_ms);

}  // namespace cli
