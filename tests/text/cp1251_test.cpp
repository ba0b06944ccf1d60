// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp1251.hpp"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

using namespace text::literals;

namespace {

// The platform's own converter is an independent reference for the table: glibc's
// iconv, or Windows' code page 1251.
std::string reference_utf8(const std::string& cp1251) {
#ifdef _WIN32
  wchar_t wide[8];
  const int n = ::MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), wide, 8);
  char out[32];
  const int m = ::WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr);
  return std::string(out, static_cast<std::size_t>(m > 0 ? m : 0));
#else
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no iconv>";
  std::string src = cp1251;
  std::string out(cp1251.size() * 4 + 8, '\0');
  char* inp = src.data();
  char* outp = out.data();
  size_t inleft = src.size(), outleft = out.size();
  const size_t rc = iconv(cd, &inp, &inleft, &outp, &outleft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return "<iconv failed>";
  out.resize(out.size() - outleft);
  return out;
#endif
}

TEST(Cp1251, EveryUpperByteMatchesTheReferenceAndRoundTrips) {
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = text::to_utf8(byte);
    if (b != 0x98) {  // the one byte Windows-1251 leaves undefined
      EXPECT_EQ(utf8, reference_utf8(byte)) << std::hex << b;
    }
    EXPECT_EQ(text::from_utf8(utf8), byte) << std::hex << b;
    EXPECT_EQ(text::from_utf16(text::to_utf16(byte)), byte) << std::hex << b;
  }
}

TEST(Cp1251, LiteralIsWindows1251AtCompileTime) {
  constexpr std::string_view s = "Таймаут"_cp1251;
  static_assert(s.size() == 7);
  EXPECT_EQ(s, "\xD2\xE0\xE9\xEC\xE0\xF3\xF2");
  EXPECT_EQ(s.data()[s.size()], '\0');
  // Ukrainian letters and the numero sign have their own bytes.
  EXPECT_EQ("ЄІЇҐєіїґ№"_cp1251, "\xAA\xB2\xAF\xA5\xBA\xB3\xBF\xB4\xB9");
  EXPECT_EQ(""_cp1251, "");
}

TEST(Cp1251, CharactersWindows1251LacksBecomeQuestionMarks) {
  struct Case { std::string utf8; std::string expected; };
  const Case cases[] = {
      {"\xE4\xB8\xAD", "?"},              // a CJK character
      {"a\xF0\x9F\x98\x80z", "a?z"},      // a character outside the BMP is one "?"
      {"\xC3\xA9", "?"},                  // e with acute: not in Windows-1251
      {"\xFF", "?"},                      // not UTF-8 at all
      {"\xD0", "?"},                      // a sequence cut short
  };
  for (const Case& c : cases) EXPECT_EQ(text::from_utf8(c.utf8), c.expected) << c.utf8;
  EXPECT_EQ(text::from_utf16(u"a\U0001F600z"), "a?z");
}

}  // namespace
