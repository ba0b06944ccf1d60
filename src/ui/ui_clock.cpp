// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_clock.hpp"

#include <QEventLoop>
#include <QTimer>

namespace ui {

void UiClock::sleep_ms(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace ui
