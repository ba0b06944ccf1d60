// SPDX-License-Identifier: GPL-3.0-or-later
// The fragment decoder on any text, and any bytes through an encoding and back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "retrieval/base64.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (retrieval::base64_decode(bytes).size() > size / 4 * 3 + 2) __builtin_trap();
  if (retrieval::base64_decode(retrieval::base64_encode(bytes)) != bytes) __builtin_trap();
  return 0;
}
