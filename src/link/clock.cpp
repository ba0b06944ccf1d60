// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/clock.hpp"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "link/abort.hpp"

namespace device_link {

std::int64_t SystemClock::now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleep_ms(int ms) {
  // In short steps, so that an abort ends the sleep at once.
  constexpr int kStepMs = 50;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!abort_requested()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(kStepMs)));
  }
}

LocalTime SystemClock::local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

Clock& system_clock() {
  static SystemClock clock;
  return clock;
}

}  // namespace device_link
