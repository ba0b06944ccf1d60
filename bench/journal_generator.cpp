// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a generated journal text of N documents, for the benchmark table.
// Usage: journal_generator N FILE
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "generated_journal.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: journal_generator N FILE\n", stderr);
    return 2;
  }
  std::ofstream(argv[2], std::ios::binary) << bench::generated_journal(std::atoi(argv[1]));
  return 0;
}
