// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting one fuzz input into the pieces a target needs: a byte now and then, and
// chunks cut at a separator byte, so that a mutation changes one piece at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzing {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return rest_.empty(); }
  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  // Up to the next separator (0xFF), which is consumed; the rest when there is none.
  std::string chunk() {
    const std::size_t at = rest_.find('\xFF');
    const std::string piece(rest_.substr(0, at));
    rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
    return piece;
  }

 private:
  std::string_view rest_;
};

}  // namespace fuzzing
