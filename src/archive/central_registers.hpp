// SPDX-License-Identifier: GPL-3.0-or-later
// The chain's overview: what the centre holds of each register, and how its last push
// went, for the accountant who sees every shop from one place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/postgres_database.hpp"

namespace archive {

struct CentralRegister {
  // Windows-1251, as the program's texts are.
  std::string serial;         // ZN
  std::string fiscal_number;  // FN; empty while unknown
  std::int64_t documents = 0;
  std::optional<std::int64_t> first_number, last_number;
  std::string last_timestamp;  // TS of the document numbered last, YYYYMMDDhhmmss; empty when none
  // The last push that ended: when (UTC, "YYYY-MM-DDThh:mm:ssZ") and from which host;
  // empty when none did.
  std::string last_push_at;
  std::string last_push_host;
  std::int64_t conflicts = 0;  // texts pushed that differ from the one stored
};

// Every register of the centre, by ZN. Throws CentralError for a centre that lacks the
// central schema (in words that say what to do), and as the centre fails.
std::vector<CentralRegister> central_registers(PostgresConnection& centre);

}  // namespace archive
