// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a tape archive of N generated documents whose Z-reports add up, for the
// benchmark table: each document read and stored as the archive command stores it.
// Usage: archive_generator N FILE [SERIAL]
// SERIAL: the register's factory number (ZN) its documents name, 4000000001 unless given.
//
// Every document is a commit that waits for the disk; the archive is built where the
// disk is memory (/dev/shm, when there is one) and copied to FILE once whole.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "archive/arrived_document.hpp"
#include "archive/tape_archive.hpp"
#include "support/generated_tape.hpp"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || std::atol(argv[1]) <= 0) {
    std::fputs("usage: archive_generator N FILE [SERIAL]\n", stderr);
    return 2;
  }
  const long documents = std::atol(argv[1]);
  const std::filesystem::path target = argv[2];
  std::error_code ec;
  const std::filesystem::path memory = "/dev/shm";
  const std::filesystem::path building =
      (std::filesystem::is_directory(memory, ec) ? memory : target.parent_path().empty() ? "." : target.parent_path()) /
      ("archive-generator-" + std::to_string(::getpid()) + ".db");
  try {
    {
      const std::string serial = argc == 4 ? argv[3] : "4000000001";
      archive::TapeArchive tape = archive::TapeArchive::open_for_register(building.string(), {serial, "3000000001"});
      std::int32_t number = 0;
      // Whole days, as many as hold N documents; the last one stops where N is reached.
      testing_support::GeneratedTape({static_cast<int>(documents / 9 + 1), 6, 0, serial}, [&](std::string&& text) {
        if (number >= documents) return;
        const archive::ArrivedDocument arrived = archive::ReadArrivedDocument(++number, std::move(text), archive::utc_now());
        tape.store(arrived.document, arrived.named);
      });
    }
    std::filesystem::remove(target, ec);
    std::filesystem::copy_file(building, target);
    std::filesystem::remove(building, ec);
  } catch (const std::exception& e) {
    std::filesystem::remove(building, ec);
    std::fprintf(stderr, "archive_generator: %s\n", e.what());
    return 1;
  }
  return 0;
}
