// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of the framed protocol: the request frame both variants send, the reply
// frame a register answers with, and the checksum they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/variant_policy.hpp"

namespace device_link {

inline constexpr std::uint8_t kPreamble = 0x01;
inline constexpr std::uint8_t kTerminator = 0x03;
inline constexpr std::uint8_t kStatusMark = 0x04;
inline constexpr std::uint8_t kPostamble = 0x05;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kSyn = 0x16;

// LEN is one byte: 0x20 + data + 4 must not pass 0xFF.
inline constexpr std::size_t kMaxRequestData = 219;
inline constexpr std::size_t kRequestOverhead = 10;
inline constexpr std::size_t kChecksumDigits = 4;

// Sum of the bytes as unsigned values.
std::uint32_t byte_sum(std::string_view bytes);

// The low 16 bits of sum as four bytes 0x30 + nibble, most significant first.
std::string checksum_digits(std::uint32_t sum);

// SEQ for an (already incremented) sequence counter.
constexpr std::uint8_t sequence_byte(std::uint8_t counter) {
  return static_cast<std::uint8_t>(0x20 + counter % 95);
}

// The request frame; empty when data exceeds kMaxRequestData (no such frame exists).
std::string build_request_frame(std::uint8_t command, std::string_view data, std::uint8_t counter);

// A request as a register sees it.
struct Request {
  std::uint8_t sequence = 0;  // the SEQ byte
  std::uint8_t command = 0;
  std::string data;
};

// Parses one complete request frame; nullopt when its length byte, post-amble,
// terminator or checksum is wrong.
std::optional<Request> parse_request_frame(std::string_view frame);

// The reply frame a register of the given variant sends. error_code is used only by
// the variant whose replies carry one; the data must fit the length byte.
std::string build_reply_frame(const VariantPolicy& policy, std::uint8_t sequence,
                              std::uint8_t command, std::string_view error_code,
                              std::string_view data, std::span<const std::uint8_t, 6> status);

// The most data bytes a reply frame of the variant can carry (error code of four).
std::size_t max_reply_data(const VariantPolicy& policy);

}  // namespace device_link
