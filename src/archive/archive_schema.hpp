// SPDX-License-Identifier: GPL-3.0-or-later
// The tables of an archive file, of every schema this program has written, and the check
// that a file holds exactly them: the same tables with the same columns, our indexes, and
// nothing else (no view, no trigger), so that nothing a file from elsewhere brings runs
// while it is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "archive/sqlite_database.hpp"

namespace archive {

// The statements that make the current schema's tables in an empty file.
std::string schema_statements();
// The statements that bring the tables of schema `from` to the next schema; the data
// that moves with them is the caller's.
std::string_view upgrade_statements(int from);

// What in the file differs from the tables of schema `version`, in a few words
// ("it holds a view named document"); nothing when the file is as this program writes it.
// Throws ArchiveError when the file's schema cannot be read at all.
std::optional<std::string> schema_difference(const Database& file, int version);

}  // namespace archive
