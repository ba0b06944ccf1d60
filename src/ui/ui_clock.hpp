// SPDX-License-Identifier: GPL-3.0-or-later
// The clock of the windows: a wait lets the windows go on painting and taking events,
// so the main window's pauses never freeze it.
#pragma once

#include "link/clock.hpp"

namespace ui {

class UiClock final : public device_link::Clock {
 public:
  std::int64_t now_ms() override { return system_.now_ms(); }
  void sleep_ms(int ms) override;
  device_link::LocalTime local_time() override { return system_.local_time(); }

 private:
  device_link::SystemClock system_;
};

}  // namespace ui
