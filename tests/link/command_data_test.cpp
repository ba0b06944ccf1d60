// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/command_data.hpp"

#include <gtest/gtest.h>

namespace {

using namespace device_link;

TEST(CommandData, JournalCommandTextsOfBothVariants) {
  const std::string pw = "271828";
  EXPECT_EQ(command_data(kQuendarPolicy, pw, {}), "271828;");
  EXPECT_EQ(command_data(kDatecsPolicy, pw, {}), "");
  EXPECT_EQ(command_data(kQuendarPolicy, pw, {1, 15, 0}), "271828;1;15;0;");
  EXPECT_EQ(command_data(kDatecsPolicy, pw, {1, 15, 0}), "1,15,0");
  EXPECT_EQ(command_data(kQuendarPolicy, pw, {3, 7}), "271828;3;7;");
  EXPECT_EQ(command_data(kDatecsPolicy, pw, {3, 7}), "3,7");
  EXPECT_EQ(command_data(kQuendarPolicy, pw, {"010524", "0000", "310524", "2359", 0}),
            "271828;010524;0000;310524;2359;0;");
  EXPECT_EQ(command_data(kDatecsPolicy, pw, {"010524", "0000", "310524", "2359", 0}),
            "010524,0000,310524,2359,0");
  EXPECT_EQ(command_data(kQuendarPolicy, "", {1, 15, 0}), ";1;15;0;");
  EXPECT_EQ(command_data(kQuendarPolicy, pw, {-1, 0}), "271828;-1;0;");
  EXPECT_EQ(command_data(kDatecsPolicy, pw, {-1}), "-1");
}

}  // namespace
