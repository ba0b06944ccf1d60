// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/packed_lines.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace render {
namespace {

// Every line comes back as it went in: runs of blanks and other bytes of any length
// (held as counts), the byte that marks them and the code bytes after it, empty lines, and lists long enough to cross many line groups.
TEST(PackedLines, GivesBackEveryLineAsItWasAdded) {
  std::vector<std::string> lines = {"", " ", "  ", "   ", "a   b", std::string(255, ' '), std::string(256, ' '),
                                    std::string(600, ' ') + "x", std::string("\0", 1), std::string("a\0\0 b  ", 8),
                                    "  Батон      12.50 A", std::string(3, '\0') + "   ", std::string(300, '-') + "xxxx",
                                    std::string(5, '\x01') + std::string(4, '\x01') + "\x01", "  ----  -----"};
  for (int i = 0; i < 2000; ++i) lines.push_back(std::string(static_cast<std::size_t>(i % 70), ' ') + std::to_string(i));
  PackedLines packed(lines);
  ASSERT_EQ(packed.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(packed[i], lines[i]) << i;
  EXPECT_EQ(std::vector<std::string>(packed.begin(), packed.end()), lines);
  EXPECT_EQ(packed.back(), lines.back());
  EXPECT_LT(packed.bytes_held(), 30000u);  // the blanks are held as counts

  PackedLines other{"old"};
  other.swap(packed);
  EXPECT_EQ(other, lines);
  EXPECT_EQ(packed, std::vector<std::string>{"old"});
  other.clear();
  other.push_back("new");
  EXPECT_EQ(other, std::vector<std::string>{"new"});
}

}  // namespace
}  // namespace render
