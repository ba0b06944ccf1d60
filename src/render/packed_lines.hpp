// SPDX-License-Identifier: GPL-3.0-or-later
// A list of lines held in one buffer with the end of each line beside it: a million
// rendered lines cost about their bytes and four bytes each, not a string apiece. Runs of
// blanks (a third of a rendered tape) and of dashes are held as counts.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <initializer_list>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace render {

class PackedLines {
 public:
  // Walking the list gives each line as a string held by the iterator, so that loops
  // written for a list of strings read it unchanged; the string is valid until the
  // iterator moves on.
  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using reference = const std::string&;
    using pointer = const std::string*;

    const_iterator() = default;
    const_iterator(const PackedLines* lines, std::size_t at) : lines_(lines), at_(at) {}
    const std::string& operator*() const {
      lines_->read(at_, current_);
      return current_;
    }
    const std::string* operator->() const { return &**this; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++at_;
      return old;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

   private:
    const PackedLines* lines_ = nullptr;
    std::size_t at_ = 0;
    mutable std::string current_;
  };
  using iterator = const_iterator;
  using value_type = std::string;
  using size_type = std::size_t;

  PackedLines() = default;
  PackedLines(std::initializer_list<std::string_view> lines) { assign(lines.begin(), lines.end()); }
  explicit PackedLines(const std::vector<std::string>& lines) { assign(lines.begin(), lines.end()); }

  PackedLines& operator=(std::initializer_list<std::string_view> lines) {
    clear();
    assign(lines.begin(), lines.end());
    return *this;
  }
  PackedLines& operator=(const std::vector<std::string>& lines) {
    clear();
    assign(lines.begin(), lines.end());
    return *this;
  }

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.size() == 0; }
  // A copy of line i.
  std::string operator[](std::size_t i) const {
    std::string line;
    read(i, line);
    return line;
  }
  std::string back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  // Line i into out, in place of what out held.
  void read(std::size_t i, std::string& out) const {
    const group& g = groups_[i / kGroup];
    const char* const base = blocks_[g.block].bytes.get() + g.start;
    const char* at = base + (i % kGroup == 0 ? 0 : ends_[i - 1]);
    const char* const stop = base + ends_[i];
    out.clear();
    while (at < stop) {
      const void* mark = std::memchr(at, kMark, static_cast<std::size_t>(stop - at));
      const char* const plain_end = mark == nullptr ? stop : static_cast<const char*>(mark);
      out.append(at, plain_end);
      if (plain_end == stop) break;
      const auto count = static_cast<unsigned char>(plain_end[1]);
      if (count == kMarkItself) {
        out += kMark;
      } else if (count == kOtherRun) {
        out.append(static_cast<unsigned char>(plain_end[2]), plain_end[3]);
        at = plain_end + 4;
        continue;
      } else {
        out.append(count, ' ');
      }
      at = plain_end + 2;
    }
  }

  void push_back(std::string_view line) {
    if (ends_.size() % kGroup == 0) start_group();
    // Held, a line takes at most two bytes for each of its own.
    if (line.size() > (SIZE_MAX - kBlock) / 4) throw std::length_error("a line too long for the list");
    make_room(2 * line.size());
    block& b = blocks_.back();
    char* const out_start = b.bytes.get() + b.used;
    char* out = out_start;
    std::size_t i = 0;
    while (i < line.size()) {
      const char c = line[i];
      if (c == kMark) {
        *out++ = kMark;
        *out++ = 0;
        ++i;
        continue;
      }
      std::size_t k = i;
      while (k < line.size() && line[k] == c && k - i < 255) ++k;
      if (c != ' ') {
        if (k - i >= kShortestOtherRun) {
          *out++ = kMark;
          *out++ = static_cast<char>(kOtherRun);
          *out++ = static_cast<char>(static_cast<unsigned char>(k - i));
          *out++ = c;
        } else {
          for (std::size_t n = i; n < k; ++n) *out++ = c;
        }
        i = k;
        continue;
      }
      if (k - i >= kShortestRun) {
        *out++ = kMark;
        *out++ = static_cast<char>(static_cast<unsigned char>(k - i));
      } else {
        for (std::size_t n = i; n < k; ++n) *out++ = ' ';
      }
      i = k;
    }
    b.used += static_cast<std::size_t>(out - out_start);
    const std::size_t end = b.used - groups_.back().start;
    if (end > UINT32_MAX) throw std::length_error("lines too long for their list");
    ends_.push_back(static_cast<std::uint32_t>(end));
  }
  template <class... Args>
  void emplace_back(Args&&... args) {
    if constexpr (sizeof...(Args) == 1 && (std::is_convertible_v<Args, std::string_view> && ...))
      push_back(std::string_view(std::forward<Args>(args)...));
    else
      push_back(std::string(std::forward<Args>(args)...));
  }
  void clear() {
    blocks_.clear();
    groups_.clear();
    ends_.clear();
  }
  void swap(PackedLines& other) noexcept {
    blocks_.swap(other.blocks_);
    groups_.swap(other.groups_);
    ends_.swap(other.ends_);
  }
  // The bytes the lines take, blank runs counted as held.
  std::size_t bytes_held() const {
    std::size_t n = 0;
    for (const block& b : blocks_) n += b.used;
    return n;
  }

  friend bool operator==(const PackedLines& a, const PackedLines& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  friend bool operator==(const PackedLines& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

 private:
  // The text lies in blocks that never grow, so that the list's memory is its bytes:
  // no block is ever copied into a larger one and left behind.
  struct block {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
    std::size_t used = 0;
  };
  // A group of kGroup lines lies in one block, its line ends counted from its start.
  struct group {
    std::size_t block = 0;
    std::size_t start = 0;
  };

  void start_group() {
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < kBlock / 16) add_block(kBlock);
    groups_.push_back(group{blocks_.size() - 1, blocks_.back().used});
  }
  // Room for n more bytes of the current group: when its block is full, the group moves
  // to a new one.
  void make_room(std::size_t n) {
    block& b = blocks_.back();
    if (b.capacity - b.used >= n) return;
    group& g = groups_.back();
    const std::size_t held = b.used - g.start;
    block fresh = new_block(std::max(kBlock, held + n));
    std::memcpy(fresh.bytes.get(), b.bytes.get() + g.start, held);
    fresh.used = held;
    b.used = g.start;
    blocks_.push_back(std::move(fresh));
    g = group{blocks_.size() - 1, 0};
  }
  static block new_block(std::size_t capacity) {
    block b;
    b.bytes = std::make_unique_for_overwrite<char[]>(capacity);
    b.capacity = capacity;
    return b;
  }
  void add_block(std::size_t capacity) { blocks_.push_back(new_block(capacity)); }

  template <class It>
  void assign(It first, It last) {
    for (; first != last; ++first) push_back(*first);
  }

  // A blank run is the mark and its length, a run of another byte (the separator lines'
  // dashes) the mark, 1, its length and the byte; the mark itself is the mark and 0.
  static constexpr char kMark = '\0';
  static constexpr unsigned char kMarkItself = 0;
  static constexpr unsigned char kOtherRun = 1;
  static constexpr std::size_t kShortestRun = 3;
  static constexpr std::size_t kShortestOtherRun = 5;
  static constexpr std::size_t kGroup = 256;
  static constexpr std::size_t kBlock = std::size_t{1} << 20;

  std::vector<block> blocks_;
  std::deque<group> groups_;
  std::deque<std::uint32_t> ends_;  // the end of each line, from its group's start
};

}  // namespace render
