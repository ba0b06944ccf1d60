// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_serial_port.hpp"

namespace testing_support {

bool FakeSerialPort::open(const std::string& name, int speed) {
  calls.push_back("open");
  if (fail_open) {
    if (!open_failure.empty()) device_link::set_last_open_error(open_failure);
    return false;
  }
  opened_name = name;
  opened_speed = speed;
  open_ = true;
  return true;
}

bool FakeSerialPort::close() {
  calls.push_back("close");
  if (fail_close) return false;
  open_ = false;
  return true;
}

void FakeSerialPort::purge(bool abort_pending) {
  calls.push_back(abort_pending ? "purge-abort" : "purge");
  pending_.clear();
}

bool FakeSerialPort::write(std::span<const std::uint8_t> bytes) {
  calls.push_back("write");
  if (fail_write || lost) return false;
  std::string frame(bytes.begin(), bytes.end());
  writes.push_back(frame);
  write_times.push_back(clock_.now_ms());
  std::string reply;
  if (!replies_.empty()) {
    reply = std::move(replies_.front());
    replies_.pop_front();
  } else if (responder) {
    reply = responder(frame);
  }
  pending_.insert(pending_.end(), reply.begin(), reply.end());
  return true;
}

device_link::ReadResult FakeSerialPort::read_byte() {
  if (lost) return {false, 0, true};
  std::uint8_t b = 0;
  if (!pending_.empty()) {
    b = pending_.front();
    pending_.pop_front();
  } else if (!(endless_source && endless_source(b))) {
    ++empty_reads;
    clock_.advance(device_link::kReadTimeoutMs);
    return {false, 0, read_error_when_empty};
  }
  clock_.advance(kByteTimeMs);
  return {true, b, false};
}

}  // namespace testing_support
