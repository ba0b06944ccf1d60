// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/base64.hpp"

#include <array>
#include <cstdint>

namespace retrieval {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> make_values() {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i)
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  return values;
}

constexpr std::array<std::int8_t, 256> kValues = make_values();

}  // namespace

std::string base64_encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  const auto at = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])); };
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = at(i) << 16 | at(i + 1) << 8 | at(i + 2);
    for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(v >> shift) & 0x3F];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    const std::uint32_t v = at(i) << 16 | (rest == 2 ? at(i + 1) << 8 : 0);
    out += kAlphabet[(v >> 18) & 0x3F];
    out += kAlphabet[(v >> 12) & 0x3F];
    out += rest == 2 ? kAlphabet[(v >> 6) & 0x3F] : '=';
    out += '=';
  }
  return out;
}

std::string base64_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  std::uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const int v = kValues[static_cast<unsigned char>(c)];
    if (v < 0) break;  // "=" is outside the alphabet too
    bits = bits << 6 | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      out += static_cast<char>((bits >> 16) & 0xFF);
      out += static_cast<char>((bits >> 8) & 0xFF);
      out += static_cast<char>(bits & 0xFF);
      bits = 0;
      count = 0;
    }
  }
  // A partial last group: two characters carry one byte, three carry two.
  if (count == 2) {
    out += static_cast<char>((bits >> 4) & 0xFF);
  } else if (count == 3) {
    out += static_cast<char>((bits >> 10) & 0xFF);
    out += static_cast<char>((bits >> 2) & 0xFF);
  }
  return out;
}

}  // namespace retrieval
