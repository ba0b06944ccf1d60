// SPDX-License-Identifier: GPL-3.0-or-later
// The result of one command exchange, shared by both protocol variants. Its layout is
// part of the program's exported interface (the status reporter takes it by reference),
// so it keeps plain fixed-size fields. Pointers refer to the driver's buffers and stay
// valid until the next exchange of the same variant.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace datecs {

inline constexpr int kMaxFields = 20;
inline constexpr int kErrorFieldSize = 20;
inline constexpr int kSentFrameSize = 300;
inline constexpr int kRawReplySize = 306;
inline constexpr int kStatusBytes = 6;

struct RetData {
  std::int32_t FieldCount = 0;
  std::int32_t Command = 0;
  std::int32_t Tag = 0;
  std::uint32_t Status = 0;
  const char* CommandName = nullptr;
  const char* SentData = nullptr;
  const char* ReplyText = nullptr;
  char ErrorField[kErrorFieldSize] = {};
  const char* Fields[kMaxFields] = {};
  std::uint8_t StatusBytes[kStatusBytes] = {};
  char SentFrame[kSentFrameSize] = {};
  char RawReply[kRawReplySize] = {};
};

// The error field as received, up to its first zero byte.
inline std::string_view error_field(const RetData& r) { return {r.ErrorField, strnlen(r.ErrorField, sizeof r.ErrorField)}; }

}  // namespace datecs
