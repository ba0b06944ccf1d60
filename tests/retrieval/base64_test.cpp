// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/base64.hpp"

#include <gtest/gtest.h>

#include <string>

#include "text/cp1251.hpp"

namespace {

using retrieval::base64_decode;
using retrieval::base64_encode;
using namespace text::literals;

TEST(Base64, EncodesTheStandardVectorsWithPadding) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},         {"f", "Zg=="},        {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF", "+/8="},
  };
  for (const auto& [plain, encoded] : cases) {
    EXPECT_EQ(base64_encode(plain), encoded) << plain;
    EXPECT_EQ(base64_decode(encoded), plain) << encoded;
  }
}

TEST(Base64, EveryByteValueSurvivesTheRoundTripAtEveryLength) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  for (std::size_t start = 0; start < 3; ++start)
    for (std::size_t n = 0; start + n <= all.size(); ++n) {
      const std::string piece = all.substr(start, n);
      const std::string encoded = base64_encode(piece);
      ASSERT_EQ(encoded.size() % 4, 0u);
      ASSERT_EQ(base64_decode(encoded), piece) << "start " << start << " length " << n;
    }
  const std::string cyrillic(R"(<L N="3">Дякуємо за покупку!</L>)"_cp1251);
  EXPECT_EQ(base64_decode(base64_encode(cyrillic)), cyrillic);
}

TEST(Base64, DecodingStopsAtPaddingOrAtTheFirstCharacterOutsideTheAlphabet) {
  const std::pair<const char*, const char*> cases[] = {
      {"QUJD", "ABC"},       {"QUI=", "AB"},      {"QQ", "A"},           {"QQ==", "A"},
      {"Q", ""},             {"QUJDQ", "ABC"},    {"", ""},              {"=QUJD", ""},
      {"QUJD=QUJD", "ABC"},  {"QUJD\r\nQUJD", "ABC"}, {"QUJ,D", "AB"}, {"QU JD", "A"},
      {"QUJD;", "ABC"},      {"QUJD-_", "ABC"},
  };
  for (const auto& [encoded, plain] : cases) EXPECT_EQ(base64_decode(encoded), plain) << encoded;
}

}  // namespace
