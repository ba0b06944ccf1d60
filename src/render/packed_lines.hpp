// A list of lines held in one text buffer with the end of each line beside it: a million
// rendered lines cost their bytes and eight bytes each, not a string apiece.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
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
  bool empty() const { return ends_.size() == 0; }
  std::string_view operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_.data() + begin, ends_[i] - begin);
  }
  std::string_view back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  void push_back(std::string_view line) {
    const std::size_t start = text_.size();
    text_.append(line.data(), line.size());
    const std::size_t end = start + line.size();
    ends_.append(&end, 1);
  }
  template <class... Args>
  void emplace_back(Args&&... args) {
    if constexpr (sizeof...(Args) == 1 && (std::is_convertible_v<Args, std::string_view> && ...))
      push_back(std::string_view(std::forward<Args>(args)...));
    else
      push_back(std::string(std::forward<Args>(args)...));
  }
  void clear() {
    text_.clear();
    ends_.clear();
  }
  void swap(PackedLines& other) noexcept {
    text_.swap(other.text_);
    ends_.swap(other.ends_);
  }
  // The bytes of all lines, one after another.
  std::size_t text_bytes() const { return text_.size(); }

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
  // A growing array of plain values kept with realloc: a large block grows in place (the
  // system remaps its pages), so growing never holds the old and the new copy at once.
  template <class T>
  class growing_array {
   public:
    growing_array() = default;
    growing_array(const growing_array& other) { append(other.data_, other.size_); }
    growing_array& operator=(const growing_array& other) {
      if (this != &other) {
        clear();
        append(other.data_, other.size_);
      }
      return *this;
    }
    growing_array(growing_array&& other) noexcept { swap(other); }
    growing_array& operator=(growing_array&& other) noexcept {
      swap(other);
      return *this;
    }
    ~growing_array() { std::free(data_); }

    void append(const T* values, std::size_t n) {
      if (n > capacity_ - size_) grow(n);
      if (n != 0) std::memcpy(data_ + size_, values, n * sizeof(T));
      size_ += n;
    }
    void clear() { size_ = 0; }
    std::size_t size() const { return size_; }
    const T* data() const { return data_; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    void swap(growing_array& other) noexcept {
      std::swap(data_, other.data_);
      std::swap(size_, other.size_);
      std::swap(capacity_, other.capacity_);
    }

   private:
    void grow(std::size_t n) {
      if (n > SIZE_MAX / sizeof(T) / 2 - size_) throw std::bad_alloc();
      const std::size_t wanted = std::max({size_ + n, capacity_ + capacity_ / 2, std::size_t{256}});
      void* grown = std::realloc(static_cast<void*>(data_), wanted * sizeof(T));
      if (grown == nullptr) throw std::bad_alloc();
      data_ = static_cast<T*>(grown);
      capacity_ = wanted;
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
  };

  template <class It>
  void assign(It first, It last) {
    for (; first != last; ++first) push_back(*first);
  }

  growing_array<char> text_;
  growing_array<std::size_t> ends_;  // the end of each line in text_
};

}  // namespace render
