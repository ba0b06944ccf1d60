// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted serial port. Each written request is answered by the next scripted reply
// (or by a responder function); bytes then become readable one by one. An empty read
// advances the virtual clock by the read time-out, so a silent line costs no real time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_port.hpp"
#include "support/virtual_clock.hpp"

namespace testing_support {

class FakeSerialPort final : public device_link::SerialPort {
 public:
  // Virtual time one received byte takes (about a byte at 9600 baud).
  static constexpr int kByteTimeMs = 1;

  explicit FakeSerialPort(VirtualClock& clock) : clock_(clock) {}

  // Queues the reply to a future request; "" answers with silence.
  void script(std::string reply) { replies_.push_back(std::move(reply)); }
  // Answers every request without a scripted reply.
  std::function<std::string(const std::string& frame)> responder;
  // Bytes that arrive after the reply, one per read, for as long as they last; an
  // endless source keeps the line busy.
  std::function<bool(std::uint8_t&)> endless_source;

  bool open(const std::string& name, int speed) override;
  bool close() override;
  bool is_open() const override { return open_; }
  void flush_output() override { ++flushes; }
  void purge(bool abort_pending) override;
  bool write(std::span<const std::uint8_t> bytes) override;
  device_link::ReadResult read_byte() override;
  void clear_error() override { ++error_clears; }
  bool device_lost() const override { return lost; }

  // What happened, for assertions.
  std::vector<std::string> writes;
  std::vector<std::int64_t> write_times;
  std::vector<std::string> calls;  // open, close, flush, purge, purge-abort, write
  std::string opened_name;
  int opened_speed = 0;
  int empty_reads = 0;
  int flushes = 0;
  int error_clears = 0;
  bool fail_open = false;
  std::string open_failure;  // the reason a failed open leaves, as a backend gives it
  bool fail_close = false;
  bool read_error_when_empty = false;
  bool fail_write = false;
  bool lost = false;  // the device is gone: writes fail, reads fail at once

 private:
  VirtualClock& clock_;
  std::deque<std::string> replies_;
  std::deque<std::uint8_t> pending_;
  bool open_ = false;
};

}  // namespace testing_support
