// A list of lines held in one text buffer with the end of each line beside it: a million
// rendered lines cost their bytes and eight bytes each, not a string apiece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
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
      current_.assign((*lines_)[at_]);
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
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }
  std::string_view back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  void push_back(std::string_view line) {
    text_ += line;
    ends_.push_back(text_.size());
  }
  template <class... Args>
  void emplace_back(Args&&... args) {
    if constexpr (sizeof...(Args) == 1 && (std::is_convertible_v<Args, std::string_view> && ...))
      push_back(std::string_view(std::forward<Args>(args)...));
    else
      push_back(std::string(std::forward<Args>(args)...));
  }
  void append(const PackedLines& other) {
    const std::size_t shift = text_.size();
    text_ += other.text_;
    ends_.reserve(ends_.size() + other.ends_.size());
    for (const std::size_t end : other.ends_) ends_.push_back(end + shift);
  }
  void clear() {
    text_.clear();
    ends_.clear();
  }
  // Gives back the room a longer list held.
  void shrink_to_fit() {
    text_.shrink_to_fit();
    ends_.shrink_to_fit();
  }
  void swap(PackedLines& other) noexcept {
    text_.swap(other.text_);
    ends_.swap(other.ends_);
  }
  // The bytes of all lines, one after another.
  std::size_t text_bytes() const { return text_.size(); }

  friend bool operator==(const PackedLines& a, const PackedLines& b) { return a.text_ == b.text_ && a.ends_ == b.ends_; }
  friend bool operator==(const PackedLines& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

 private:
  template <class It>
  void assign(It first, It last) {
    for (; first != last; ++first) push_back(*first);
  }

  std::string text_;
  std::vector<std::size_t> ends_;
};

}  // namespace render
