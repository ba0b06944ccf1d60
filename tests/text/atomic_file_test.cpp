// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/atomic_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.hpp"

namespace {

using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

// Files that bear the names a write takes for its temporaries (another writer's, in the
// same folder) are never written over: with every name taken, the write fails and the
// old file stays.
TEST(ReplaceFile, NeverWritesOverAFileThatBearsItsTemporaryName) {
  TempDir dir;
  const std::string target = dir.file("temp.xml");
  write_file(target, "old");
  std::vector<std::string> others;
  for (int n = 0; n < 100; ++n) {
    others.push_back(target + "." + std::to_string(::getpid()) + "-" + std::to_string(n) + ".tmp");
    write_file(others.back(), "other");
  }
  EXPECT_FALSE(text::replace_file(target, "new"));
  EXPECT_EQ(read_file(target), "old");
  for (const std::string& other : others) EXPECT_EQ(read_file(other), "other") << other;

  for (const std::string& other : others) std::filesystem::remove(other);
  EXPECT_TRUE(text::replace_file(target, "new"));
  EXPECT_EQ(read_file(target), "new");
}

}  // namespace
