// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_thread.hpp"

#include <QEvent>
#include <deque>

namespace ui {

namespace {

std::mutex queue_mutex;
std::deque<std::function<void()>> queued_calls;

void run_next_call() {
  std::function<void()> call;
  {
    const std::lock_guard lock(queue_mutex);
    if (queued_calls.empty()) return;
    call = std::move(queued_calls.front());
    queued_calls.pop_front();
  }
  call();
}

const QEvent::Type call_event = static_cast<QEvent::Type>(QEvent::registerEventType());

// Takes one queued call per event, on the UI thread.
class CallReceiver final : public QObject {
 public:
  bool event(QEvent* e) override {
    // The queue's mutex first: our events were made before their calls were queued.
    { const std::lock_guard lock(queue_mutex); }
    if (e->type() != call_event) return QObject::event(e);
    run_next_call();
    return true;
  }
};

QObject& call_receiver() {
  // Lives as long as the program; made by whichever thread asks first.
  static CallReceiver* const receiver = [] {
    auto* r = new CallReceiver;
    r->moveToThread(QCoreApplication::instance()->thread());
    return r;
  }();
  return *receiver;
}

}  // namespace

void post_to_ui_thread(std::function<void()> call) {
  // Made before the call is queued, so that the queue's mutex orders it before the UI
  // thread frees it.
  auto* event = new QEvent(call_event);
  {
    const std::lock_guard lock(queue_mutex);
    queued_calls.push_back(std::move(call));
  }
  QCoreApplication::postEvent(&call_receiver(), event);
}

}  // namespace ui
