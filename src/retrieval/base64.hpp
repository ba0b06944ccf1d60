// SPDX-License-Identifier: GPL-3.0-or-later
// Base64 with the standard alphabet (A-Z a-z 0-9 + /): the register sends every document
// fragment this way, and the simulated register encodes them.
#pragma once

#include <string>
#include <string_view>

namespace retrieval {

// Padded with "=" to a multiple of four characters.
std::string base64_encode(std::string_view bytes);

// Reads from the start and stops at the first "=" or the first character outside the
// alphabet, so a fragment with trailing junk still yields what precedes it. Every group of
// four characters gives three bytes; a final group of three gives two, of two gives one, a
// single leftover character gives nothing.
std::string base64_decode(std::string_view text);

}  // namespace retrieval
