// SPDX-License-Identifier: GPL-3.0-or-later
// The attention window shown while documents are fetched: what is going on, the
// progress text, a bar, and a button that stops the retrieval after the current
// document. The retrieval drives it from the worker thread: each call of the attention
// window's interface is done on the UI thread.
#pragma once

#include <QDialog>
#include <functional>

#include "retrieval/attention_window.hpp"

class QLabel;
class QProgressBar;
class QPushButton;

namespace ui {

class AttentionDialog final : public QDialog, public retrieval::AttentionWindow {
  Q_OBJECT

 public:
  explicit AttentionDialog(QWidget* parent = nullptr);

  // What "Отмена" does: pressed in any way (mouse, Space or Enter, the accessibility
  // action), Escape, or closing the window; only while the window is shown.
  void set_cancel_action(std::function<void()> action) { cancel_ = std::move(action); }
  // The action set, for a window that lends the attention window for a while.
  const std::function<void()>& cancel_action() const { return cancel_; }

  void set_caption(std::string_view caption) override;
  void set_activity(std::string_view text) override;
  void set_progress(std::string_view text) override;
  void show() override;
  void hide() override;
  void repaint() override;
  bool is_active() const override;

  QLabel* activity_label;  // Label1 on the designed form
  QLabel* progress_label;  // Label2 on the designed form
  QProgressBar* progress_bar;
  QPushButton* cancel_button;

 protected:
  bool event(QEvent* e) override;
  // Escape and the title bar's close: the window stays until the current document is done.
  void reject() override { cancel(); }

 private:
  void cancel();

  std::function<void()> cancel_;
};

}  // namespace ui
