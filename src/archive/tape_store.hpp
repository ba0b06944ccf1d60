// SPDX-License-Identifier: GPL-3.0-or-later
// What export and verification read of one register's kept tape, whichever store keeps
// it: the local archive file, or the register's documents in the central database. Both
// hand over the same rows in the same order, so whatever is written from one is written
// byte for byte the same from the other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/archive_error.hpp"
#include "archive/archived_document.hpp"

namespace archive {

// The register a tape belongs to, as the tape names it: DAT ZN (the factory number), FN
// (the fiscal number) and TN of its documents. Each is empty until a stored document
// names it. Nothing promises that the connection check spells these numbers as the tape
// does, so only the tape identifies the register of a document.
struct RegisterIdentity {
  std::string serial;
  std::string fiscal_number;
  std::string till_number;
};

// Where the register's tape begins: the first document number it gave for the widest
// span of dates, and when it gave it (UTC). Numbers below it were never on the tape.
struct TapeBeginning {
  std::int64_t first_number = 1;
  std::string asked_at;
};

// Every read throws ArchiveError when the store fails.
class TapeStore {
 public:
  virtual ~TapeStore() = default;

  // The register as its tape names it; empty fields until a document named them.
  virtual RegisterIdentity identity() const = 0;

  // The selected documents in the order a one-shot fetch of them would bring them, one
  // row at a time. A row that holds no document this program could have stored comes with
  // its number and the reason (ArchivedDocument::unreadable). The visitor may read the
  // store again, a nested visit included.
  virtual void visit(const ArchiveSelection& selection, const ArchivedDocumentVisitor& visitor) const = 0;

  // Numbers within [first, last] that the register said it does not have.
  virtual std::int64_t absent_count(std::int64_t first, std::int64_t last) const = 0;
  // The lowest document number held (from 1); nothing when none is.
  virtual std::optional<std::int64_t> lowest_held() const = 0;
  // Where the register's tape begins, as the register last told it; where it never did, the
  // lowest number held when the register said it lacks every number below (a fill that
  // asked from 1; those absent numbers are its true word and stay); else nothing.
  virtual std::optional<TapeBeginning> tape_beginning() const = 0;

 protected:
  TapeStore() = default;
  TapeStore(const TapeStore&) = default;
  TapeStore(TapeStore&&) = default;
  TapeStore& operator=(const TapeStore&) = default;
  TapeStore& operator=(TapeStore&&) = default;
};

}  // namespace archive
