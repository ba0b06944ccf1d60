// SPDX-License-Identifier: GPL-3.0-or-later
// What becomes of a reply's data once received: the per-command fix-ups, the cut into
// fields, and the test whether a raw reply is worth keeping or the request is repeated.
#pragma once

#include <cstddef>

#include "link/exchange_result.hpp"

namespace device_link {

// Rewrites the data of a reply to command in place and returns its new length. Data of
// one character or none is left alone; capacity bounds any growth.
std::size_t apply_reply_fixup(int command, char* data, std::size_t length, std::size_t capacity);

struct FieldRules {
  char separator;
  bool drops_trailing_separator;
};

// Cuts the zero-terminated data into fields in place (separators become zero bytes) and
// returns the field count: 0 for empty data, which leaves fields as they were. At most
// datecs::kMaxFields fields; the last one keeps whatever follows unsplit. With
// drops_trailing_separator, entries past the count are cleared and a separator at the
// end of the data or of the remainder is removed instead of opening an empty field.
int split_fields(char* data, std::size_t& length, const char* (&fields)[datecs::kMaxFields],
                 FieldRules rules);

// True when a raw reply (zero-terminated) looks like a complete Quendar reply frame.
bool is_well_formed_reply(const char (&raw)[datecs::kRawReplySize]);

}  // namespace device_link
