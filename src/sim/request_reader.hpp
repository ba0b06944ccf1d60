// SPDX-License-Identifier: GPL-3.0-or-later
// The register's receiving side: cuts the byte stream from the line into request frames.
// A frame runs from a preamble 0x01 to the next terminator 0x03; a new preamble inside a
// frame starts over, and a frame that grows past the longest request is dropped, so no
// stream of bytes can make the buffer grow or the reader lose its footing for long.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/frame.hpp"

namespace sim {

struct ReceivedFrame {
  std::string bytes;                              // as received (cut short when oversized)
  std::optional<device_link::Request> request;    // nullopt: damaged, to be answered by NAK
};

class RequestReader {
 public:
  static constexpr std::size_t kMaxFrame = device_link::kMaxRequestData + device_link::kRequestOverhead;

  // The frames that the bytes complete, in order.
  std::vector<ReceivedFrame> feed(std::string_view bytes);

  std::size_t buffered() const { return frame_.size(); }

 private:
  bool in_frame_ = false;
  std::string frame_;
};

}  // namespace sim
