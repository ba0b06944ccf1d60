// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/exchange_worker.hpp"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "ui/ui_thread.hpp"

namespace ui {

ExchangeWorker::~ExchangeWorker() { wait_until_finished(); }

bool ExchangeWorker::start(std::function<void()> work, std::function<void()> done) {
  if (busy_) return false;
  if (thread_.joinable()) thread_.join();  // the last one has posted its end already
  busy_ = true;
  thread_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
    try {
      work();
    } catch (...) {
      // The handlers report their own failures; nothing may end the thread uncaught.
    }
    post_to_ui_thread([this, done = std::move(done)] {
      busy_ = false;
      if (done) done();
      emit idle();
    });
  });
  return true;
}

bool ExchangeWorker::wait_until_idle(int bound_ms) {
  if (busy_) {
    QEventLoop loop;
    connect(this, &ExchangeWorker::idle, &loop, &QEventLoop::quit);
    QTimer::singleShot(bound_ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return !busy_;
}

void ExchangeWorker::wait_until_finished() {
  while (busy_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (thread_.joinable()) thread_.join();
}

}  // namespace ui
