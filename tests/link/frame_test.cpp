// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using namespace device_link;

std::string hex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ", c);
    out += buf;
  }
  return out;
}

TEST(RequestFrame, WorkedExamples) {
  struct Case { std::uint8_t command; std::string data; std::uint8_t counter; std::string frame; };
  const Case cases[] = {
      {0x21, "", 1, "01 24 21 21 05 30 30 36 3B 03"},
      {0x4A, "ABC;", 2, "01 28 22 4A 41 42 43 3B 05 30 31 39 3A 03"},
      {0x21, "", 95, "01 24 20 21 05 30 30 36 3A 03"},
  };
  for (const Case& c : cases) EXPECT_EQ(hex(build_request_frame(c.command, c.data, c.counter)), c.frame);
}

TEST(RequestFrame, LengthByteAtTheLimitsAndBeyond) {
  const std::string full(kMaxRequestData, '\xFF');
  const std::string frame = build_request_frame(0xFF, full, 7);
  ASSERT_EQ(frame.size(), kMaxRequestData + 10);
  EXPECT_EQ(static_cast<unsigned char>(frame[1]), 0xFF);
  // The largest sum still fits the four checksum digits.
  EXPECT_EQ(frame.substr(frame.size() - 5, 4), checksum_digits(byte_sum(frame.substr(1, frame.size() - 6))));
  EXPECT_EQ(build_request_frame(0x21, "", 1).size(), 10u);
  // One byte more would need LEN 0x100: no such frame is built.
  EXPECT_TRUE(build_request_frame(0x21, full + "x", 1).empty());
}

TEST(RequestFrame, ChecksumDigitsAboveNineAreColonToQuestionMark) {
  EXPECT_EQ(checksum_digits(0xABCD), ":;<=");
  EXPECT_EQ(checksum_digits(0x00EF), "00>?");
  EXPECT_EQ(checksum_digits(0x1F234), "?234");  // only the low 16 bits count
}

TEST(RequestFrame, SequenceByteRunsModulo95) {
  const std::pair<int, int> cases[] = {{1, 0x21}, {94, 0x7E}, {95, 0x20}, {255, 0x61}, {0, 0x20}};
  for (auto [counter, seq] : cases) EXPECT_EQ(sequence_byte(static_cast<std::uint8_t>(counter)), seq) << counter;
}

TEST(RequestFrame, ParsesWhatItBuildsAndRejectsDamage) {
  const std::string frame = build_request_frame(0xA7, "271828;1;15;0;", 33);
  const auto parsed = parse_request_frame(frame);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sequence, sequence_byte(33));
  EXPECT_EQ(parsed->command, 0xA7);
  EXPECT_EQ(parsed->data, "271828;1;15;0;");

  std::string bad_sum = frame;
  bad_sum[bad_sum.size() - 2] ^= 1;
  std::string bad_len = frame;
  bad_len[1] += 1;
  for (const std::string& damaged : {bad_sum, bad_len, frame.substr(0, frame.size() - 1), std::string("\x01\x24")})
    EXPECT_FALSE(parse_request_frame(damaged)) << hex(damaged);
}

TEST(ReplyFrame, LengthByteAndChecksumOfBothVariants) {
  const std::array<std::uint8_t, 6> status = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  const std::string q = build_reply_frame(kQuendarPolicy, 0x21, 0x80, "0000", "AB", status);
  EXPECT_EQ(static_cast<unsigned char>(q[1]), 0x30 + 2);
  EXPECT_EQ(q.size(), 17u + 4 + 2 + 1);
  const std::string d = build_reply_frame(kDatecsPolicy, 0x21, 0x5A, "ignored", "AB", status);
  EXPECT_EQ(static_cast<unsigned char>(d[1]), 0x2B + 2);
  EXPECT_EQ(d.size(), 17u + 2);
  EXPECT_EQ(d.substr(4, 2), "AB");
  for (const std::string& f : {q, d})
    EXPECT_EQ(f.substr(f.size() - 5, 4), checksum_digits(byte_sum(f.substr(1, f.size() - 6))));
  EXPECT_EQ(max_reply_data(kQuendarPolicy), 207u);
  EXPECT_EQ(max_reply_data(kDatecsPolicy), 212u);
}

}  // namespace
