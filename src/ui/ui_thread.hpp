// SPDX-License-Identifier: GPL-3.0-or-later
// The exchanges with the register run on a worker thread; the widgets live on the UI thread.
// What the worker asks of a window (a message, a question, a caption) is done on the UI
// thread while the worker waits, so the user sees and answers it as if no thread existed.
#pragma once

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <type_traits>

#include "messages/dialogs.hpp"

namespace ui {

inline bool on_the_ui_thread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

// Queues call for the UI thread's event loop; calls run in the order they were queued.
void post_to_ui_thread(std::function<void()> call);

// Runs call on the UI thread and hands back its result; called from the UI thread, it runs
// at once. A worker waits while the UI thread's event loop gets to it (the user may be
// answering a question). The hand-over is a standard mutex, so that what the two threads
// share is visibly ordered, for the thread sanitizer too.
template <class Call>
std::invoke_result_t<Call&> on_ui_thread(Call call) {
  using Result = std::invoke_result_t<Call&>;
  if (on_the_ui_thread()) return call();
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  std::conditional_t<std::is_void_v<Result>, bool, Result> result{};
  post_to_ui_thread([&] {
    // Answered even when the call throws: the worker must not wait for ever.
    struct Answer {
      std::mutex& mutex;
      std::condition_variable& answered;
      bool& done;
      ~Answer() {
        const std::lock_guard lock(mutex);
        done = true;
        answered.notify_one();
      }
    } answer{mutex, answered, done};
    if constexpr (std::is_void_v<Result>) {
      call();
    } else {
      result = call();
    }
  });
  std::unique_lock lock(mutex);
  answered.wait(lock, [&] { return done; });
  if constexpr (!std::is_void_v<Result>) return result;
}

// The user's dialogs for the worker: every box and question is shown on the UI thread.
// Pending messages need no processing there: the UI thread runs its own event loop.
class UiThreadDialogs final : public messages::Dialogs {
 public:
  explicit UiThreadDialogs(messages::Dialogs& shown) : shown_(shown) {}

  void show_message(std::string_view text) override {
    on_ui_thread([&] { shown_.show_message(text); });
  }
  void show_captioned_message(std::string_view caption, std::string_view text) override {
    on_ui_thread([&] { shown_.show_captioned_message(caption, text); });
  }
  bool ask_retry_cancel(std::string_view caption, std::string_view text) override {
    return on_ui_thread([&] { return shown_.ask_retry_cancel(caption, text); });
  }
  bool ask_yes_no(std::string_view caption, std::string_view text) override {
    return on_ui_thread([&] { return shown_.ask_yes_no(caption, text); });
  }
  std::optional<std::string> ask_save_path(std::string_view filter, std::string_view proposed_name,
                                           std::string_view default_extension) override {
    return on_ui_thread([&] { return shown_.ask_save_path(filter, proposed_name, default_extension); });
  }
  void process_pending_messages() override {
    if (on_the_ui_thread()) shown_.process_pending_messages();
  }

 private:
  messages::Dialogs& shown_;
};

}  // namespace ui
