// SPDX-License-Identifier: GPL-3.0-or-later
// The windows a retrieval moves besides the journal window's own lists: the attention
// window shown while documents are fetched, the journal window itself and the main
// window. The desktop program gives real windows, talqen-cli a progress line on its
// terminal, tests their own records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace retrieval {

// How far a retrieval has come, for views that show more than the progress text.
struct RetrievalProgress {
  std::int64_t first = 0;
  std::int64_t last = 0;
  std::int64_t current = 0;          // the number asked for last
  std::int64_t numbers_to_ask = 0;   // the numbers of the range the fetch asks, those passed over left out
  std::int64_t documents_done = 0;   // numbers asked for so far, the current one included
  std::int64_t documents_kept = 0;   // of those, documents that went into the journal text
  std::size_t bytes_received = 0;    // decoded document bytes
};

// The attention window.
class AttentionWindow {
 public:
  virtual ~AttentionWindow() = default;
  virtual void set_caption(std::string_view caption) = 0;
  virtual void set_activity(std::string_view text) = 0;  // what is going on
  virtual void set_progress(std::string_view text) = 0;  // the progress text
  // Shown and painted at once.
  virtual void show() = 0;
  virtual void hide() = 0;
  virtual void repaint() = 0;
  // Whether it is the active window: only then does it get the progress text.
  virtual bool is_active() const = 0;
  // Called after every document.
  virtual void progress_made(const RetrievalProgress&) {}
};

// The journal window's own visibility and the main window's.
class WindowFrame {
 public:
  virtual ~WindowFrame() = default;
  virtual void show_journal_window() = 0;
  virtual void hide_journal_window() = 0;
  // Ends the journal window's modal showing.
  virtual void close_journal_window() = 0;
  virtual void show_main_window() = 0;
};

// For a program that has no such windows: nothing is shown, nothing is active.
class NoAttentionWindow final : public AttentionWindow {
 public:
  void set_caption(std::string_view) override {}
  void set_activity(std::string_view) override {}
  void set_progress(std::string_view) override {}
  void show() override {}
  void hide() override {}
  void repaint() override {}
  bool is_active() const override { return false; }
};

class NoWindowFrame final : public WindowFrame {
 public:
  void show_journal_window() override {}
  void hide_journal_window() override {}
  void close_journal_window() override {}
  void show_main_window() override {}
};

}  // namespace retrieval
