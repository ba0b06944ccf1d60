// SPDX-License-Identifier: GPL-3.0-or-later
// Number values of the journal text. The syntax is fixed and independent of the locale:
// blanks (spaces), an optional sign, digits with at most one "." and at least one digit,
// an optional exponent (E or e, optional sign, digits), blanks. Anything else, the empty
// text included, throws ConversionError.
#pragma once

#include <cstdint>
#include <string_view>

#include "journal/records.hpp"

namespace journal {

// The nearest single-precision value (read as the nearest double, then rounded).
// Throws when the value is beyond the single-precision range.
float to_number(std::string_view text);

// The nearest single and the text's own whole number: exact for a text of whole digits
// (up to 18), otherwise the full-precision value rounded, ties away from zero, and held
// within 64 bits. Throws as to_number does.
exact_number to_exact(std::string_view text);

// The number read at full precision and truncated toward zero; throws when the whole
// part does not fit 32 bits.
std::int32_t to_whole(std::string_view text);

// A decimal integer of a date or time part: leading blanks, an optional sign, digits.
std::int32_t to_integer(std::string_view text);

}  // namespace journal
