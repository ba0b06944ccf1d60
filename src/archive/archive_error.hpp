// SPDX-License-Identifier: GPL-3.0-or-later
// How every store of the kept tape fails: one exception with the store's own words, so
// that export and verification catch one thing whichever store they read.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace archive {

class ArchiveError : public std::runtime_error {
 public:
  enum class Cause { Other, NotADatabase, CannotOpen, Damaged };
  explicit ArchiveError(const std::string& what, Cause cause = Cause::Other, std::string detail = {})
      : std::runtime_error(what), cause_(cause), detail_(std::move(detail)) {}
  // SQLite found the file to be no database at all.
  bool not_a_database() const { return cause_ == Cause::NotADatabase; }
  // The file could not be opened (missing, a folder, no permission).
  bool cannot_open() const { return cause_ == Cause::CannotOpen; }
  // SQLite found the file damaged where it read it.
  bool damaged() const { return cause_ == Cause::Damaged; }
  // SQLite's own words, without the file and the statement.
  const std::string& detail() const { return detail_; }

 private:
  Cause cause_;
  std::string detail_;
};

}  // namespace archive
