// SPDX-License-Identifier: GPL-3.0-or-later
#include <mutex>

#include "link/serial_port.hpp"

namespace device_link {

namespace {

std::mutex reason_mutex;
std::string reason_text;

}  // namespace

std::string last_open_error() {
  const std::lock_guard lock(reason_mutex);
  return reason_text;
}

void set_last_open_error(std::string reason) {
  const std::lock_guard lock(reason_mutex);
  reason_text = std::move(reason);
}

}  // namespace device_link
