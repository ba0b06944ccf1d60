// SPDX-License-Identifier: GPL-3.0-or-later
// INI-style profile files, read and written the way the platform's profile API does it:
// section and key names match without regard to case, a missing key gives the caller's
// default, writing creates the section or key when needed and leaves every other line
// as it was. Every call opens, reads or updates, and closes the file; a write replaces
// the file atomically. A file that cannot be read reads as empty, so the caller goes on
// with its defaults, and is never written over: that would lose its other settings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// The value, cut to at most limit characters.
std::string read_profile_text(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view fallback, std::size_t limit);

// A leading sign and digits; the default when the key is missing or has no digits.
int read_profile_integer(const std::string& path, std::string_view section, std::string_view key, int fallback);

enum class ProfileWrite {
  Written,
  Failed,      // the file could not be written (a directory that refuses, a full disk)
  Unreadable,  // the file exists but cannot be read: left as it is
};

ProfileWrite write_profile_text(const std::string& path, std::string_view section, std::string_view key,
                                std::string_view value);

}  // namespace app
