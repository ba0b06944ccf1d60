// SPDX-License-Identifier: GPL-3.0-or-later
// The register's error codes: the table of known codes, and the decoder that turns the
// error code of a Quendar reply into the message the user sees.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/exchange_result.hpp"

namespace messages {

// One register error. Within a group only the first entry stores its code (group x 256);
// the others store 0, meaning the previous entry's code plus one.
struct ErrorEntry {
  std::int32_t code;
  std::string_view identifier;
  std::string_view description;
};

// The 88 entries, in order.
std::span<const ErrorEntry> Errors();

// The code an entry stands for, resolving the stored zeros.
std::int32_t error_code_at(std::size_t index);

// True, with an empty text, only when the register answered and its code is "0000".
// Otherwise false with the message to show (empty for a code the decoder does not know).
bool ReplyAccepted(datecs::RetData result, std::string& text);

}  // namespace messages
