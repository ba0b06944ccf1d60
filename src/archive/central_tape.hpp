// SPDX-License-Identifier: GPL-3.0-or-later
// One register's tape at the chain's centre, read as the register's own archive file is
// read: the same rows in the same order for every selection, each row checked as a row of
// a file from elsewhere is, so that an export or a verification of it is byte for byte
// that of the file. Rows come a page at a time by their key, never the whole tape, and no
// transaction stays open while the reader works on a page: a slow reader (an export into
// a pipe that is not read) costs the server nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/postgres_database.hpp"
#include "archive/tape_store.hpp"

namespace archive {

class CentralTape final : public TapeStore {
 public:
  // The register of the centre whose tape names it by this ZN (Windows-1251). Throws
  // ArchiveError for a centre that lacks the central schema or holds no such register,
  // and when the centre fails.
  CentralTape(PostgresConnection centre, const std::string& serial);

  RegisterIdentity identity() const override;
  void visit(const ArchiveSelection& selection, const ArchivedDocumentVisitor& visitor) const override;
  std::int64_t absent_count(std::int64_t first, std::int64_t last) const override;
  std::optional<std::int64_t> lowest_held() const override;
  std::optional<TapeBeginning> tape_beginning() const override;

 private:
  // A statement of this register ($1 is its id), any failure of the centre as ArchiveError.
  PostgresResult query(std::string_view sql, std::vector<SqlValue> parameters) const;

  // Reading changes nothing, but a statement is sent over the connection all the same.
  mutable PostgresConnection centre_;
  std::int64_t register_id_ = 0;
  RegisterIdentity identity_;
};

}  // namespace archive
