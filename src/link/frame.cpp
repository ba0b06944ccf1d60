// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame.hpp"

namespace device_link {

std::uint32_t byte_sum(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (char c : bytes) sum += static_cast<std::uint8_t>(c);
  return sum;
}

std::string checksum_digits(std::uint32_t sum) {
  std::string digits(kChecksumDigits, '\0');
  for (std::size_t i = 0; i < kChecksumDigits; ++i) {
    const unsigned shift = static_cast<unsigned>(12 - 4 * i);
    digits[i] = static_cast<char>(0x30 + ((sum >> shift) & 0x0F));
  }
  return digits;
}

namespace {

// The frame from LEN through the post-amble gets its checksum and terminator.
std::string close_frame(std::string frame) {
  frame += checksum_digits(byte_sum(std::string_view(frame).substr(1)));
  frame += static_cast<char>(kTerminator);
  return frame;
}

}  // namespace

std::string build_request_frame(std::uint8_t command, std::string_view data, std::uint8_t counter) {
  if (data.size() > kMaxRequestData) return {};
  std::string frame;
  frame.reserve(data.size() + kRequestOverhead);
  frame += static_cast<char>(kPreamble);
  frame += static_cast<char>(0x20 + data.size() + 4);
  frame += static_cast<char>(sequence_byte(counter));
  frame += static_cast<char>(command);
  frame += data;
  frame += static_cast<char>(kPostamble);
  return close_frame(std::move(frame));
}

std::optional<Request> parse_request_frame(std::string_view frame) {
  if (frame.size() < kRequestOverhead) return std::nullopt;
  const auto u = [&](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
  const std::size_t n = frame.size() - kRequestOverhead;
  if (u(0) != kPreamble || u(1) != 0x20 + n + 4 || u(4 + n) != kPostamble ||
      u(frame.size() - 1) != kTerminator)
    return std::nullopt;
  if (frame.substr(5 + n, kChecksumDigits) != checksum_digits(byte_sum(frame.substr(1, n + 4))))
    return std::nullopt;
  return Request{u(2), u(3), std::string(frame.substr(4, n))};
}

std::string build_reply_frame(const VariantPolicy& policy, std::uint8_t sequence,
                              std::uint8_t command, std::string_view error_code,
                              std::string_view data, std::span<const std::uint8_t, 6> status) {
  std::string body;
  body += static_cast<char>(sequence);
  body += static_cast<char>(command);
  if (policy.reply_has_error_code) {
    body += error_code;
    body += ';';
  }
  body += data;
  body += static_cast<char>(kStatusMark);
  for (std::uint8_t s : status) body += static_cast<char>(s);
  body += static_cast<char>(kPostamble);

  std::string frame;
  frame += static_cast<char>(kPreamble);
  frame += static_cast<char>(0x20 + 1 + body.size());
  frame += body;
  return close_frame(std::move(frame));
}

std::size_t max_reply_data(const VariantPolicy& policy) {
  return 0xFFu - policy.reply_length_base;
}

}  // namespace device_link
