// SPDX-License-Identifier: GPL-3.0-or-later
// The progress line counts what the run asks: a resumed archive run that passes over the
// numbers it holds must not show them as asked, nor estimate its time from them.
#include <gtest/gtest.h>

#include <string>

#include "cli/terminal_progress.hpp"

namespace {

TEST(TerminalProgress, FiguresCountOnlyTheNumbersTheRunAsks) {
  const struct {
    const char* what;
    retrieval::RetrievalProgress progress;
    std::int64_t elapsed_ms;
    std::string expected;
  } cases[] = {
      {"a whole range, half asked", {1, 10, 5, 10, 5, 4, 2048}, 5000,
       "[##########          ] 5/10 asked, 4 documents, 2.0 KB, about 5 s left"},
      {"an archive holding 30 of 33, one of the three asked", {1, 33, 31, 3, 1, 1, 512}, 1000,
       "[######              ] 1/3 asked, 1 documents, 0.5 KB, about 2 s left"},
      {"everything asked", {1, 33, 33, 3, 3, 3, 1536}, 3000, "[####################] 3/3 asked, 3 documents, 1.5 KB"},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::progress_figures(c.progress, c.elapsed_ms), c.expected) << c.what;
}

}  // namespace
