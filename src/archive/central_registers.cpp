// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/central_registers.hpp"

#include <string_view>

#include "archive/central_schema.hpp"
#include "text/cp1251.hpp"

namespace archive {

namespace {

// A push stopped half-way (ended_at NULL) delivered what it committed but is no push
// that went through: the last push is the last one that ended.
constexpr std::string_view kOverview = R"(
SELECT r.serial, r.fiscal_number, held.documents, held.first_number, held.last_number,
       (SELECT d.timestamp FROM talqen.document AS d WHERE d.register_id = r.id ORDER BY d.number DESC LIMIT 1),
       to_char(last_push.ended_at AT TIME ZONE 'UTC', 'YYYY-MM-DD"T"HH24:MI:SS"Z"'), last_push.host,
       (SELECT count(*) FROM talqen.conflict AS c WHERE c.register_id = r.id)
FROM talqen.register AS r
CROSS JOIN LATERAL (SELECT count(*) AS documents, min(number) AS first_number, max(number) AS last_number
                    FROM talqen.document WHERE register_id = r.id) AS held
LEFT JOIN LATERAL (SELECT p.ended_at, p.host FROM talqen.push AS p
                   WHERE p.register_id = r.id AND p.ended_at IS NOT NULL
                   ORDER BY p.ended_at DESC LIMIT 1) AS last_push ON true
ORDER BY r.serial COLLATE "C"
)";

std::string text_of(const PostgresResult& rows, int row, int column) {
  return rows.is_null(row, column) ? std::string() : text::from_utf8(rows.bytes(row, column));
}

std::optional<std::int64_t> number_of(const PostgresResult& rows, int row, int column) {
  if (rows.is_null(row, column)) return std::nullopt;
  return rows.integer(row, column);
}

}  // namespace

std::vector<CentralRegister> central_registers(PostgresConnection& centre) {
  require_central_schema(centre);
  const PostgresResult rows = centre.query(kOverview);
  std::vector<CentralRegister> registers;
  registers.reserve(static_cast<std::size_t>(rows.rows()));
  for (int r = 0; r < rows.rows(); ++r) {
    registers.push_back({text_of(rows, r, 0), text_of(rows, r, 1), rows.integer(r, 2), number_of(rows, r, 3),
                         number_of(rows, r, 4), text_of(rows, r, 5), text_of(rows, r, 6), text_of(rows, r, 7),
                         rows.integer(r, 8)});
  }
  return registers;
}

}  // namespace archive
