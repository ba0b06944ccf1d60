// SPDX-License-Identifier: GPL-3.0-or-later
// The UI tests' entry point: a QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // Tests need no display; the program must work with accessibility switched on.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
