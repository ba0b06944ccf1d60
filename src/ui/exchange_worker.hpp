// SPDX-License-Identifier: GPL-3.0-or-later
// The one thread that talks to the register. One exchange at a time: the port, the
// drivers and the program-wide result route are used by one exchange only.
#pragma once

#include <QObject>
#include <functional>
#include <thread>

namespace ui {

class ExchangeWorker final : public QObject {
  Q_OBJECT

 public:
  ExchangeWorker() = default;
  // Waits for a running exchange (see wait_until_finished).
  ~ExchangeWorker() override;
  ExchangeWorker(const ExchangeWorker&) = delete;
  ExchangeWorker& operator=(const ExchangeWorker&) = delete;

  // Runs work on the worker thread, then done on the UI thread. False, and nothing run,
  // while another exchange is running.
  bool start(std::function<void()> work, std::function<void()> done = {});
  // From start until done has run. UI thread only.
  bool busy() const { return busy_; }
  // Runs the UI thread's event loop until no exchange runs, at most bound_ms; true when idle.
  bool wait_until_idle(int bound_ms);
  // The same without a bound of its own: every wait of an exchange is bounded (the link's
  // time-outs) or is the user's answer to a box the UI thread goes on showing.
  void wait_until_finished();

 signals:
  void idle();

 private:
  std::thread thread_;
  bool busy_ = false;
};

}  // namespace ui
