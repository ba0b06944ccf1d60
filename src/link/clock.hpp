// SPDX-License-Identifier: GPL-3.0-or-later
// Every wait of the system goes through this interface, so tests run on virtual time.
#pragma once

#include <cstdint>

namespace device_link {

struct LocalTime {
  int day, month, year, hour, minute, second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic scale.
  virtual std::int64_t now_ms() = 0;
  // Ends early when an abort is requested (abort.hpp).
  virtual void sleep_ms(int ms) = 0;
  // The local calendar date and time (for log entries).
  virtual LocalTime local_time() = 0;
};

class SystemClock final : public Clock {
 public:
  std::int64_t now_ms() override;
  void sleep_ms(int ms) override;
  LocalTime local_time() override;
};

// The clock the program's drivers use.
Clock& system_clock();

}  // namespace device_link
