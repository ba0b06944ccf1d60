// SPDX-License-Identifier: GPL-3.0-or-later
// A local archive pushed into the chain's central database: what the centre lacks of its
// documents, absent numbers and the word where its tape begins, in batches that each go
// in one transaction under the register's advisory lock, so that a push stopped in any
// way leaves the centre consistent and the next one goes on where it stopped. A stored
// document is never overwritten: one pushed with another text is a conflict, kept in a
// table of its own by both texts' SHA-256.
//
// The centre is asked which documents it holds a block of numbers at a time, as a count
// and a digest of their digests, so a nightly push of an archive the centre holds sends
// only the blocks that differ, never the whole tape again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/postgres_database.hpp"
#include "archive/tape_archive.hpp"

namespace archive {

struct PushCounts {
  std::int64_t pushed = 0;     // documents the centre took from this push
  std::int64_t held = 0;       // documents it held already, with the same text
  std::int64_t conflicts = 0;  // documents it holds with another text
  std::int64_t unreadable = 0; // local rows that hold no document, not pushed
};

struct PushProgress {
  std::int64_t documents_read = 0;   // of the archive, so far
  std::int64_t documents_total = 0;  // in the archive
  std::int64_t bytes_sent = 0;       // of documents' texts
};

struct PushEvents {
  // A line for stderr (UTF-8): a conflict, a row that cannot be read.
  std::function<void(const std::string&)> tell;
  std::function<void(const PushProgress&)> progress;
  // Asked between documents: true stops the push after the batch underway.
  std::function<bool()> stop;
};

struct PushReport {
  PushCounts counts;
  std::string serial;  // the register, as its tape names it (Windows-1251)
  // Why nothing was pushed though the centre was reached (the centre holds the register
  // under another fiscal number); empty otherwise.
  std::string refusal;
  bool stopped = false;
  // Everything went in: no conflict, no unreadable row, no refusal, not stopped.
  bool whole() const { return counts.conflicts == 0 && counts.unreadable == 0 && refusal.empty() && !stopped; }
};

// Pushes the archive into the centre as `host`. Throws CentralError when the centre lacks
// the schema or fails (what was committed before stays), ArchiveError when the archive
// cannot be read.
PushReport push_archive(const TapeArchive& archive, PostgresConnection& centre, const std::string& host,
                        const PushEvents& events);

// This computer's name, for the push rows.
std::string local_host_name();

// "pushed N, held H, conflicts C"
std::string push_line(const PushCounts& counts);

}  // namespace archive
