// SPDX-License-Identifier: GPL-3.0-or-later
// The chain's central database: every register's tape in the schema "talqen", versioned
// as an archive file is, and the two group roles that people's login roles join:
// talqen_push may add (documents, absent numbers, where a tape begins, conflicts, its push
// rows) and fill in a register's empty fiscal and till numbers, never change or remove a
// document; talqen_read may only read.
//
// The texts of the registers' numbers (register.serial, fiscal_number, till_number) are
// UTF-8 at the centre, as the server keeps text; the documents' bytes are as the register
// sent them (Windows-1251), and document.sha256 is the server's SHA-256 of them.
#pragma once

#include <cstdint>
#include <optional>

#include "archive/postgres_database.hpp"

namespace archive {

// The central schema this program writes and reads; a centre of a later one is refused.
inline constexpr int kCentralSchemaVersion = 1;

// The first key of every advisory lock the program takes ("Tlqn"); the second is a
// register's id, or 0 while the schema is made.
inline constexpr std::int32_t kCentralLockClass = 0x546C716E;

enum class CentralInit { Created, AlreadyThere };

// Makes the schema and the roles' grants in one transaction; on a centre that holds them
// already changes nothing. Throws CentralError for a centre of a later schema, for a
// schema "talqen" that holds tables of another program, and as the server refuses.
CentralInit initialise_centre(PostgresConnection& centre);

// Throws CentralError, in words that say what to do, unless the centre holds this
// program's central schema.
void require_central_schema(PostgresConnection& centre);

}  // namespace archive
