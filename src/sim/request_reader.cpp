// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/request_reader.hpp"

namespace sim {

using device_link::kPreamble;
using device_link::kTerminator;

std::vector<ReceivedFrame> RequestReader::feed(std::string_view bytes) {
  std::vector<ReceivedFrame> frames;
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b == kPreamble) {
      // Whatever was collected belonged to a request the client gave up on.
      in_frame_ = true;
      frame_.assign(1, c);
      continue;
    }
    if (!in_frame_) continue;
    frame_ += c;
    if (b == kTerminator) {
      frames.push_back({frame_, device_link::parse_request_frame(frame_)});
      frame_.clear();
      in_frame_ = false;
    } else if (frame_.size() >= kMaxFrame) {
      // Longer than any request can be: answered once, the rest ignored up to the next
      // preamble.
      frames.push_back({frame_, std::nullopt});
      frame_.clear();
      in_frame_ = false;
    }
  }
  return frames;
}

}  // namespace sim
