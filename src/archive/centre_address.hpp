// SPDX-License-Identifier: GPL-3.0-or-later
// What names the chain's central database where a command takes a store: a libpq URI
// (postgresql://, postgres://) or a service of pg_service.conf (service=NAME, with more
// keywords after it if wanted); anything else is a file. The address never carries a
// password, since others can read a command line; libpq finds it in its own places.
// Every wait on the centre is bounded: where the user set no limit, the connection gets
// ours.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/postgres_database.hpp"

namespace archive {

// Whether a --db or --to value names a central database rather than an archive file.
bool names_centre(std::string_view value);

struct CentreAddress {
  std::string conninfo;  // as the user gave it
  // libpq keywords the user left unset that bound the waits, and the program's name.
  std::vector<std::pair<std::string, std::string>> defaults;
};

// The address of the centre `value` names; nothing, with the reason in `error`, for one
// that libpq cannot read or that holds a password.
std::optional<CentreAddress> centre_address(const std::string& value, std::string& error);

// A connection to the centre whose statements are bounded in time unless the server or
// the role sets a bound of its own. Throws CentralError (Unreachable) when none can be made.
PostgresConnection connect_to_centre(const CentreAddress& address);

}  // namespace archive
