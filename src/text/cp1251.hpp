// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 text. Every text of the system is a std::string of Windows-1251 bytes;
// literals are written in UTF-8 source and turned into Windows-1251 at compile time by
// the one literal operator below, so "Таймаут"_cp1251 is seven bytes in the program.
// Conversion to UTF-8 or UTF-16 happens only at the edges (terminal, Qt).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// Unicode code points of the bytes 0x80..0xFF. 0x98 has no character in Windows-1251;
// it maps to U+0098 so that every byte survives a round trip.
inline constexpr std::array<char16_t, 128> kCp1251Upper = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

inline constexpr char kUnmappable = '?';

constexpr char32_t code_point_of(unsigned char byte) {
  return byte < 0x80 ? char32_t{byte} : char32_t{kCp1251Upper[byte - 0x80]};
}

// The Windows-1251 byte of a code point, or -1 when Windows-1251 lacks it.
constexpr int byte_of(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kCp1251Upper.size(); ++i)
    if (kCp1251Upper[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// Decodes one UTF-8 sequence starting at s[i]; advances i. Malformed input yields
// U+FFFD and consumes one byte, so the caller always makes progress.
constexpr char32_t decode_utf8(std::string_view s, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  const std::size_t extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                          : (lead & 0xF8) == 0xF0 ? 3 : 0;
  if (extra == 0 || i + extra >= s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = lead & (0x3Fu >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3Fu);
  }
  i += extra + 1;
  return cp;
}

// Runtime conversions, all from the one table above.
std::string to_utf8(std::string_view cp1251);
std::string from_utf8(std::string_view utf8);
std::u16string to_utf16(std::string_view cp1251);
std::string from_utf16(std::u16string_view utf16);

namespace detail {

template <std::size_t N>
struct Utf8Literal {
  char bytes[N]{};
  constexpr Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
  constexpr std::string_view view() const { return {bytes, N - 1}; }
};

// The Windows-1251 bytes of a literal; never longer than its UTF-8 source.
template <std::size_t N>
struct Encoded {
  char bytes[N]{};
  std::size_t size = 0;
};

template <std::size_t N>
constexpr Encoded<N> encode(const Utf8Literal<N>& source) {
  Encoded<N> out;
  const std::string_view s = source.view();
  for (std::size_t i = 0; i < s.size();) {
    const int b = byte_of(decode_utf8(s, i));
    // A literal with a character that Windows-1251 lacks is a mistake in the source:
    // reaching this throw makes the literal fail to compile.
    if (b < 0) throw "character not in Windows-1251";
    out.bytes[out.size++] = static_cast<char>(b);
  }
  return out;
}

template <Utf8Literal S>
inline constexpr auto kEncoded = encode(S);

}  // namespace detail

namespace literals {

// "Текст"_cp1251: a view of static Windows-1251 bytes, followed by a zero byte so that
// data() is also a C string.
template <detail::Utf8Literal S>
constexpr std::string_view operator""_cp1251() {
  return {detail::kEncoded<S>.bytes, detail::kEncoded<S>.size};
}

}  // namespace literals
}  // namespace text

