// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp1251.hpp"

namespace text {

namespace {

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char to_byte(char32_t cp) {
  const int b = byte_of(cp);
  return b < 0 ? kUnmappable : static_cast<char>(b);
}

}  // namespace

std::string to_utf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) append_utf8(out, code_point_of(static_cast<unsigned char>(c)));
  return out;
}

std::string from_utf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out += to_byte(decode_utf8(utf8, i));
  return out;
}

std::u16string to_utf16(std::string_view cp1251) {
  std::u16string out;
  out.reserve(cp1251.size());
  for (char c : cp1251) out += static_cast<char16_t>(code_point_of(static_cast<unsigned char>(c)));
  return out;
}

std::string from_utf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    // A surrogate pair is one character, and never one that Windows-1251 has.
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      ++i;
      cp = 0x10000;
    }
    out += to_byte(cp);
  }
  return out;
}

}  // namespace text
