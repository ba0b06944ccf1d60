// SPDX-License-Identifier: GPL-3.0-or-later
// A correspondence from integer to integer that remembers whether anything was set:
// the journal window links document ordinals and Z-report numbers to the numbers under
// which documents were requested.
#pragma once

#include <cstdint>
#include <map>

namespace journal {

class number_map {
 public:
  void clear() {
    entries_.clear();
    has_entries_ = false;
  }

  void set(std::int32_t key, std::int32_t value) {
    entries_[key] = value;
    has_entries_ = true;
  }

  // A missing key is added with 0; that does not count as having entries.
  std::int32_t lookup(std::int32_t key) { return entries_[key]; }

  bool has_entries() const { return has_entries_; }
  const std::map<std::int32_t, std::int32_t>& entries() const { return entries_; }

 private:
  bool has_entries_ = false;
  std::map<std::int32_t, std::int32_t> entries_;
};

}  // namespace journal
