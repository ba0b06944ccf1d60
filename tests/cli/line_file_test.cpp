// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/line_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.hpp"

namespace {

using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

std::vector<std::string> names_in(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  return names;
}

TEST(SaveLines, WritesEachLineWithCrLfAndNothingElse) {
  struct Case {
    std::vector<std::string> lines;
    std::string bytes;
  };
  const Case cases[] = {
      {{}, ""},
      {{"a", "", "  b  "}, "a\r\n\r\n  b  \r\n"},
      {{std::string("\xCA\xE0\xF1\xE0\x30\x31")}, std::string("\xCA\xE0\xF1\xE0\x30\x31\r\n")},
  };
  for (const Case& c : cases) {
    TempDir dir;
    ASSERT_TRUE(retrieval::save_lines(dir.file("out.txt"), c.lines));
    EXPECT_EQ(read_file(dir.file("out.txt")), c.bytes);
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"out.txt"});  // no temporary left
  }
}

TEST(SaveLines, ReplacesAnExistingFileWhole) {
  TempDir dir;
  write_file(dir.file("out.txt"), std::string(1000, 'x'));
  ASSERT_TRUE(retrieval::save_lines(dir.file("out.txt"), std::vector<std::string>{"new"}));
  EXPECT_EQ(read_file(dir.file("out.txt")), "new\r\n");
}

TEST(SaveLines, FailureLeavesNoFileBehind) {
  TempDir dir;
  EXPECT_FALSE(retrieval::save_lines(dir.file("missing/out.txt"), std::vector<std::string>{"x"}));
  // A directory in the way: nothing replaces it and no temporary stays.
  std::filesystem::create_directory(dir.file("taken"));
  EXPECT_FALSE(retrieval::save_lines(dir.file("taken"), std::vector<std::string>{"x"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken")));
  EXPECT_EQ(names_in(dir), std::vector<std::string>{"taken"});
}

}  // namespace
