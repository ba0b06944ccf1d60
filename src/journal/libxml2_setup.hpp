// SPDX-License-Identifier: GPL-3.0-or-later
// libxml2 as every parse of a journal text uses it: Windows-1251 read with the system's own
// table and written back byte for byte, nothing loaded from outside, one set of parse
// options, and the guard against start tags with endless attributes. Only the DOM
// adapter and the streaming reader include this.
#pragma once

#include <libxml/parser.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace journal::dom {

std::string_view view(const xmlChar* s);

// Writes the text in Windows-1251 at out, which has room for utf8.size() bytes (every
// character takes at least one byte of UTF-8 and gives one byte here); returns the bytes
// written. A character Windows-1251 lacks becomes one "?".
std::size_t write_cp1251(char* out, std::string_view utf8);

// Bytes appended at the end and dropped from the front, without the zero fill and the
// checks of a string on every append.
class byte_store {
 public:
  std::size_t size() const { return size_; }
  std::string_view view(std::size_t offset, std::size_t size) const { return {data_.get() + offset, size}; }

  void append_cp1251(std::string_view utf8) {
    reserve(utf8.size());
    size_ += write_cp1251(data_.get() + size_, utf8);
  }
  void append(char c) {
    reserve(1);
    data_[size_++] = c;
  }
  void drop_front(std::size_t n) {
    std::memmove(data_.get(), data_.get() + n, size_ - n);
    size_ -= n;
  }

 private:
  void reserve(std::size_t more) {
    if (more <= capacity_ - size_) return;
    const std::size_t capacity = std::max({capacity_ * 2, size_ + more, std::size_t{4096}});
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ != 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

void append_cp1251(std::string& out, std::string_view utf8);
std::string to_cp1251(std::string_view utf8);
std::string to_cp1251(const xmlChar* utf8);
// An ASCII text as it is (its length found on the way), anything else converted into
// scratch.
std::string_view cp1251_view(const xmlChar* utf8, std::string& scratch);

// Once per process: the Windows-1251 decoder registered, every external load refused.
void prepare_libxml2();

// No NOENT, DTDLOAD, DTDATTR or HUGE: entities stay references, no DTD is read, and the
// parser's limits on nesting depth and text size apply (the loader's walk recurses).
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// Throws ParseError for a text libxml2 cannot take in one piece or one with a start tag
// of more attributes than any journal element has: the text given whole, or the lines
// joined as temp.xml holds them (each followed by CR LF), read without joining them.
void check_before_parsing(std::string_view text);
void check_before_parsing(std::span<const std::string> lines);

}  // namespace journal::dom
