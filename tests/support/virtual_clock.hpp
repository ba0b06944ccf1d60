// SPDX-License-Identifier: GPL-3.0-or-later
// Virtual time for unit tests: sleeping advances it, nothing waits.
#pragma once

#include "link/clock.hpp"

namespace testing_support {

class VirtualClock final : public device_link::Clock {
 public:
  std::int64_t now_ms() override { return now_; }
  void sleep_ms(int ms) override {
    now_ += ms;
    slept_ += ms;
  }
  device_link::LocalTime local_time() override { return local; }

  void advance(std::int64_t ms) { now_ += ms; }
  std::int64_t slept_ms() const { return slept_; }

  device_link::LocalTime local{8, 12, 2015, 13, 5, 7};

 private:
  std::int64_t now_ = 0;
  std::int64_t slept_ = 0;
};

}  // namespace testing_support
