// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/reply_processing.hpp"

#include <algorithm>
#include <cstring>

#include "link/frame.hpp"

namespace device_link {

std::size_t apply_reply_fixup(int command, char* data, std::size_t length, std::size_t capacity) {
  if (length <= 1) return length;
  switch (command) {
    case 50:
    case 53:  // "D1234" -> "D,1234"
      if (length + 2 <= capacity) {
        std::memmove(data + 2, data + 1, length);  // the terminating zero moves too
        data[1] = ',';
        ++length;
      }
      break;
    case 62:
      // Only inside the data: overwriting the terminator would expose stale bytes.
      if (length > 8) data[8] = ',';
      break;
    case 90:
      std::replace(data, data + std::min<std::size_t>(length, 20), ' ', ',');
      break;
    default:
      break;
  }
  return length;
}

int split_fields(char* data, std::size_t& length, const char* (&fields)[datecs::kMaxFields],
                 FieldRules rules) {
  if (length == 0) return 0;
  const char sep = rules.separator;
  const auto drop_trailing = [&] {
    if (length > 0 && data[length - 1] == sep) data[--length] = '\0';
  };
  if (rules.drops_trailing_separator) {
    std::fill(std::begin(fields), std::end(fields), nullptr);
    drop_trailing();
  }
  fields[0] = data;
  int count = 0;
  for (std::size_t i = 0; i < length && count + 1 < datecs::kMaxFields; ++i) {
    if (data[i] != sep) continue;
    if (rules.drops_trailing_separator && i + 1 >= length) break;
    data[i] = '\0';
    fields[++count] = data + i + 1;
    if (rules.drops_trailing_separator) drop_trailing();
  }
  return count + 1;
}

bool is_well_formed_reply(const char (&raw)[datecs::kRawReplySize]) {
  const std::size_t length = strnlen(raw, datecs::kRawReplySize);
  constexpr std::size_t kErrorCodeEnd = 8;
  if (length <= kErrorCodeEnd || length < 6) return false;
  const auto u = [&](std::size_t i) { return static_cast<unsigned char>(raw[i]); };
  return u(0) == kPreamble && u(1) >= 0x30 && u(2) >= 0x20 && u(2) <= 0x7F && u(3) >= 0x20 &&
         raw[kErrorCodeEnd] == ';' && u(length - 1) == kTerminator &&
         u(length - 6) == kPostamble;
}

}  // namespace device_link
