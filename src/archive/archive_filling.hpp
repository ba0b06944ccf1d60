// SPDX-License-Identifier: GPL-3.0-or-later
// One run that fills a register's tape archive over the line: every number of a range
// that the archive neither holds nor knows as absent is asked, each document committed as
// it comes. Without a first number the range is the register's tape, from where it
// begins. talqen-cli's archive command and the desktop program's "Пополнить архив" are
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

// The numbers one fill asks.
struct FillRange {
  std::int64_t first = 1;
  std::int64_t last = 0;
  // last is the register's own last number: a number it does not have up to it is kept as
  // absent. Beyond it, it may yet be written.
  bool absence_is_final = true;
  // Where the register said its tape begins, kept in the archive with the fill.
  std::optional<TapeBeginning> tape_beginning;
};

// The register's whole tape, as it answers the widest span of dates (one date search): from
// where it begins to its last document, absence final. From 1 when the answer does not
// say where the tape begins (no tape_beginning). Nothing when it names no last number;
// a refusal is told as the journal window tells it.
std::optional<FillRange> AskWholeTape(retrieval::JournalWindowLogic& window);

// What the user is told when the register did not say where its tape begins
// (Windows-1251).
std::string AskedFromFirstNumberLine();

// Fills the range through the journal window's fetch (its progress, questions and stop).
FillOutcome FillArchive(TapeArchive& archive, retrieval::JournalWindowLogic& window, const FillRange& range,
                        const FillObserver& observer = {});

}  // namespace archive
