// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/central_tape.hpp"

#include <limits>
#include <utility>

#include "archive/central_schema.hpp"
#include "archive/stored_row.hpp"
#include "text/cp1251.hpp"

namespace archive {

namespace {

// Rows a page: a few hundred kilobytes of documents as they are, and at most this many
// texts of the longest a row may hold.
constexpr int kPageRows = 128;
constexpr std::int64_t kBeforeEveryKey = std::numeric_limits<std::int64_t>::min();

// The columns read_stored_row takes; a text longer than any document is not sent at all.
// $1 is the register, $2 (and $5 by Z numbers) the key of the last row of the page before.
const std::string kColumns =
    "SELECT number, kind, timestamp, z_number, octet_length(text), "
    "CASE WHEN octet_length(text) <= " + std::to_string(kMaxDocumentText) + " THEN text END, fetched_at "
    "FROM talqen.document WHERE register_id = $1::bigint ";

// The pages of each selection, in the order of the file's: the texts compared byte by
// byte, as the file compares them, whatever the database's collation.
std::string page_of(ArchiveSelection::By by) {
  using By = ArchiveSelection::By;
  const std::string limit = " LIMIT " + std::to_string(kPageRows);
  switch (by) {
    case By::Everything: return kColumns + "AND number > $2::bigint ORDER BY number" + limit;
    case By::DocumentNumbers:
      return kColumns + "AND number BETWEEN $3::bigint AND $4::bigint AND number > $2::bigint ORDER BY number" + limit;
    case By::ZReportNumbers:
      return kColumns +
             "AND kind = 'z-report' AND z_number BETWEEN $3::bigint AND $4::bigint "
             "AND (z_number::bigint, number) > ($5::bigint, $2::bigint) ORDER BY z_number, number" + limit;
    case By::Dates:
      return kColumns +
             "AND timestamp COLLATE \"C\" >= $3::text AND substr(timestamp, 1, 8) COLLATE \"C\" BETWEEN $3::text AND $4::text "
             "AND number > $2::bigint ORDER BY number" + limit;
  }
  return {};
}

StoredField<std::string_view> text_field(const PostgresResult& page, int row, int column) {
  if (page.is_null(row, column)) return {};
  return {StoredType::Text, page.bytes(row, column)};
}

// Where the register's tape begins when it never told: as the file reads it from its
// absent numbers.
constexpr std::string_view kTapeBeginningOfAbsentNumbers = R"(
SELECT lowest.number,
       (SELECT max(checked_at COLLATE "C") FROM talqen.absent
         WHERE register_id = $1::bigint AND number BETWEEN 1 AND lowest.number - 1)
FROM (SELECT min(number) AS number FROM talqen.document WHERE register_id = $1::bigint) AS lowest
WHERE lowest.number > 1
  AND (SELECT count(*) FROM talqen.absent
        WHERE register_id = $1::bigint AND number BETWEEN 1 AND lowest.number - 1) = lowest.number - 1
)";

std::optional<TapeBeginning> beginning_of(const PostgresResult& row) {
  if (row.rows() == 0 || row.is_null(0, 0)) return std::nullopt;
  const std::int64_t first = row.integer(0, 0);
  if (first < 1 || first > kMaxDocumentNumber) return std::nullopt;
  return TapeBeginning{first, row.is_null(0, 1) ? std::string() : std::string(row.bytes(0, 1))};
}

}  // namespace

CentralTape::CentralTape(PostgresConnection centre, const std::string& serial) : centre_(std::move(centre)) {
  try {
    require_central_schema(centre_);
    const PostgresResult found = centre_.query(
        "SELECT id, serial, fiscal_number, till_number FROM talqen.register WHERE serial = $1::text",
        {SqlValue(text::to_utf8(serial))});
    if (found.rows() == 0)
      throw ArchiveError(centre_.shown() + " holds no register " + text::to_utf8(serial) +
                         " (talqen-cli registers lists those it holds)");
    register_id_ = found.integer(0, 0);
    // The centre keeps text as UTF-8; the program's texts are Windows-1251.
    identity_ = {text::from_utf8(found.bytes(0, 1)), text::from_utf8(found.bytes(0, 2)),
                 text::from_utf8(found.bytes(0, 3))};
  } catch (const CentralError& e) {
    throw ArchiveError(e.what());
  }
}

PostgresResult CentralTape::query(std::string_view sql, std::vector<SqlValue> parameters) const {
  parameters.insert(parameters.begin(), SqlValue(register_id_));
  try {
    return centre_.query(sql, parameters);
  } catch (const CentralError& e) {
    throw ArchiveError(e.what());
  }
}

RegisterIdentity CentralTape::identity() const { return identity_; }

void CentralTape::visit(const ArchiveSelection& selection, const ArchivedDocumentVisitor& visitor) const {
  using By = ArchiveSelection::By;
  const std::string sql = page_of(selection.by);
  // The key of the last row handed on: its number, and by Z numbers its Z number first.
  std::int64_t after_number = kBeforeEveryKey;
  std::int64_t after_z_number = kBeforeEveryKey;
  ArchivedDocument document;
  for (;;) {
    std::vector<SqlValue> parameters = {SqlValue(after_number)};
    if (selection.by == By::DocumentNumbers || selection.by == By::ZReportNumbers) {
      parameters.emplace_back(std::int64_t{selection.first});
      parameters.emplace_back(std::int64_t{selection.last});
    } else if (selection.by == By::Dates) {
      parameters.emplace_back(selection.from_date);
      parameters.emplace_back(selection.to_date);
    }
    if (selection.by == By::ZReportNumbers) parameters.emplace_back(after_z_number);
    const PostgresResult page = query(sql, std::move(parameters));
    const int rows = page.rows();
    for (int r = 0; r < rows; ++r) {
      StoredRow row;
      row.number = page.integer(r, 0);
      row.kind = text_field(page, r, 1);
      row.timestamp = text_field(page, r, 2);
      if (!page.is_null(r, 3)) row.z_number = {StoredType::Integer, page.integer(r, 3)};
      if (!page.is_null(r, 4)) {
        row.text_type = StoredType::Blob;
        row.text_size = page.integer(r, 4);
        if (!page.is_null(r, 5)) row.text = page.bytes(r, 5);
      }
      row.fetched_at = text_field(page, r, 6);
      read_stored_row(row, document);
      visitor(document);
    }
    if (rows < kPageRows) return;
    after_number = page.integer(rows - 1, 0);
    if (selection.by == By::ZReportNumbers) after_z_number = page.integer(rows - 1, 3);
  }
}

std::int64_t CentralTape::absent_count(std::int64_t first, std::int64_t last) const {
  const PostgresResult count = query(
      "SELECT count(*) FROM talqen.absent WHERE register_id = $1::bigint AND number BETWEEN $2::bigint AND $3::bigint",
      {SqlValue(first), SqlValue(last)});
  return count.integer(0, 0);
}

std::optional<std::int64_t> CentralTape::lowest_held() const {
  const PostgresResult lowest =
      query("SELECT min(number) FROM talqen.document WHERE register_id = $1::bigint AND number >= 1", {});
  if (lowest.rows() == 0 || lowest.is_null(0, 0)) return std::nullopt;
  return lowest.integer(0, 0);
}

std::optional<TapeBeginning> CentralTape::tape_beginning() const {
  // The centre keeps every beginning a push brought; the register's word is the latest.
  if (const std::optional<TapeBeginning> told =
          beginning_of(query("SELECT first_number, asked_at FROM talqen.tape_beginning WHERE register_id = $1::bigint "
                             "ORDER BY asked_at COLLATE \"C\" DESC LIMIT 1",
                             {})))
    return told;
  return beginning_of(query(kTapeBeginningOfAbsentNumbers, {}));
}

}  // namespace archive
