// SPDX-License-Identifier: GPL-3.0-or-later
// One run that fills a register's tape archive over the line: every number of a range
// that the archive neither holds nor knows as absent is asked, each document committed as
// it comes. talqen-cli's archive command and the desktop program's "Пополнить архив" are
// this run; they differ only in how they show it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "archive/tape_archive.hpp"
#include "retrieval/journal_window_logic.hpp"

namespace archive {

// The connection check's answer of the register last connected in this variant, from the
// program-wide result records: the factory number in the field the status line shows
// (Datecs field 7, Quendar field 3), and the Datecs fiscal number in field 8. Both blanks
// trimmed, otherwise as the register spelled them.
ConnectionAnswer AnswerOfConnectionCheck(bool quendar);

// What became of the numbers of the range.
struct FillSummary {
  std::int64_t numbers = 0;      // in the range
  std::int64_t to_ask = 0;       // neither held nor absent when the run began
  std::int64_t asked = 0;        // numbers the register was asked for so far
  std::int64_t held_before = 0;
  std::int64_t fetched = 0;      // stored in this run
  std::int64_t absent = 0;       // the register has no such document
  std::int64_t incomplete = 0;   // came in part, not answered, or not readable
  std::int64_t not_asked = 0;    // left when the run stopped early

  // "held H, fetched F, absent A, incomplete I[, not asked N]"
  std::string line() const;
};

struct FillOutcome {
  FillSummary summary;
  retrieval::AssemblyReport report;
  // A document of another register, or a file that cannot be written: the run ended
  // there, and what was committed before stays.
  std::optional<std::string> archive_failure;

  // Every number of the range held or absent, nothing refused or cut short.
  bool whole() const;
};

struct FillObserver {
  // A document that came whole but cannot be read: Windows-1251, "Документ N: why".
  std::function<void(const std::string& line)> unreadable;
  // After each number the register answered.
  std::function<void(const FillSummary& so_far)> progress;
};

// Fills [first, last] through the journal window's fetch (its progress, questions and
// stop). A number the register does not have is kept as absent only when absence_is_final
// (last is the register's own last number); beyond it, it may yet be written.
FillOutcome FillArchive(TapeArchive& archive, retrieval::JournalWindowLogic& window, std::int64_t first,
                        std::int64_t last, bool absence_is_final, const FillObserver& observer = {});

}  // namespace archive
