// SPDX-License-Identifier: GPL-3.0-or-later
// A decimal whole number that is the whole text (a leading "-" allowed), as the register
// reads the fields of a request and the simulator its options.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace sim {

inline std::optional<long> whole_number(std::string_view s) {
  long value = 0;
  const char* end = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (s.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace sim
