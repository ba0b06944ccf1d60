// SPDX-License-Identifier: GPL-3.0-or-later
// The 32-bit status word of an exchange: one of three link bits, or bits copied from
// the six status bytes of the reply.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace status {

inline constexpr std::uint32_t kChecksumMismatch = 0x01000000;
inline constexpr std::uint32_t kNak = 0x02000000;
inline constexpr std::uint32_t kNoReply = 0x04000000;
inline constexpr std::uint32_t kLinkBits = kChecksumMismatch | kNak | kNoReply;

inline constexpr int kStatusByteCount = 6;

// One bit of the word: where it comes from (status byte and mask; byte -1 for the link
// bits), the message shown for it (empty: none; Russian, see message_of) and its place
// in the order in which the bits are tested (0: never reported).
struct StatusBit {
  std::uint32_t bit;
  int byte;
  std::uint8_t mask;
  std::string_view message;
  int test_order;
};

// Every bit the word can carry, in ascending bit order.
std::span<const StatusBit> status_bits();

// How an exchange ended, as the receiver saw it.
enum class ExchangeOutcome { NotFinished, Nak, ChecksumMismatch, Complete };

// The bits derived from the status bytes, as received.
std::uint32_t bits_from_status_bytes(std::span<const std::uint8_t, kStatusByteCount> bytes);

// Precedence: no reply, else NAK, else checksum mismatch, each alone; otherwise the
// status-byte bits and no link bit.
std::uint32_t build_status_word(ExchangeOutcome outcome,
                                std::span<const std::uint8_t, kStatusByteCount> bytes);

// The bit's message in the user's language.
std::string message_of(const StatusBit& bit);

// The bit whose message is shown for this word: the first set bit in test order that
// the table reports, or nullptr when none is.
const StatusBit* first_reported_bit(std::uint32_t word);

}  // namespace status
