// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/reply_processing.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "link/frame.hpp"

namespace {

using namespace device_link;

std::string fixed(int command, std::string data) {
  char buf[300] = {};
  std::memcpy(buf, data.data(), data.size());
  const std::size_t length = apply_reply_fixup(command, buf, data.size(), sizeof buf);
  EXPECT_EQ(std::strlen(buf), length);
  return std::string(buf, length);
}

TEST(ReplyFixup, PerCommandRewrites) {
  struct Case { int command; std::string in, out; };
  const Case cases[] = {
      {53, "D1234", "D,1234"},
      {50, "AB", "A,B"},
      {53, "D", "D"},                       // one character: left alone
      {62, "01012400:00:00", "01012400,00:00"},
      {62, "01012400", "01012400"},         // nothing at the ninth place to replace
      {90, "ECR 1.00 12Jan24 1200,FFFF,00,0,0,ABC123,00000000",
           "ECR,1.00,12Jan24,1200,FFFF,00,0,0,ABC123,00000000"},
      {90, "A B C D E F G H I J K L", "A,B,C,D,E,F,G,H,I,J,K L"},  // only the first 20
      {0xA7, "1 2", "1 2"},
  };
  for (const Case& c : cases) EXPECT_EQ(fixed(c.command, c.in), c.out) << c.command << " " << c.in;
}

struct Split {
  int count;
  std::vector<std::string> fields;
};

Split split(std::string data, FieldRules rules, const char* (&fields)[datecs::kMaxFields], char (&buf)[300]) {
  std::memset(buf, 0, sizeof buf);
  std::memcpy(buf, data.data(), data.size());
  std::size_t length = data.size();
  Split s{split_fields(buf, length, fields, rules), {}};
  for (int i = 0; i < s.count; ++i) s.fields.emplace_back(fields[i]);
  return s;
}

TEST(ReplySplit, QuendarDropsTrailingSeparators) {
  struct Case { std::string data; std::vector<std::string> fields; };
  const Case cases[] = {
      {"A;B;C;", {"A", "B", "C"}},
      {"A;;B", {"A", "", "B"}},
      {";A", {"", "A"}},
      {";", {""}},
      {"A;;", {"A;"}},
      {"A;B;;", {"A", "B"}},
      {"0;QUJD", {"0", "QUJD"}},
  };
  for (const Case& c : cases) {
    const char* fields[datecs::kMaxFields] = {};
    char buf[300];
    const Split s = split(c.data, {';', true}, fields, buf);
    EXPECT_EQ(s.fields, c.fields) << c.data;
    for (int i = s.count; i < datecs::kMaxFields; ++i) EXPECT_EQ(fields[i], nullptr) << c.data;
  }
}

TEST(ReplySplit, DatecsSplitsAtEveryComma) {
  struct Case { std::string data; std::vector<std::string> fields; };
  const Case cases[] = {
      {"1,15,0", {"1", "15", "0"}},
      {"A,B,", {"A", "B", ""}},
      {",", {"", ""}},
      {"1,15,", {"1", "15", ""}},
  };
  for (const Case& c : cases) {
    const char* fields[datecs::kMaxFields] = {};
    char buf[300];
    EXPECT_EQ(split(c.data, {',', false}, fields, buf).fields, c.fields) << c.data;
  }
}

TEST(ReplySplit, EmptyDataKeepsThePreviousEntries) {
  const char* fields[datecs::kMaxFields] = {};
  char buf[300];
  split("A;B", {';', true}, fields, buf);
  const char* second = fields[1];
  std::size_t length = 0;
  for (FieldRules rules : {FieldRules{';', true}, FieldRules{',', false}}) {
    EXPECT_EQ(split_fields(buf, length, fields, rules), 0);
    EXPECT_EQ(fields[1], second);
  }
}

TEST(ReplySplit, NeverMoreThanTwentyFieldsAndNothingLost) {
  std::string data;
  for (int i = 0; i < 30; ++i) data += std::to_string(i) + ",";
  for (FieldRules rules : {FieldRules{';', true}, FieldRules{',', false}}) {
    std::string d = data;
    for (char& ch : d) if (ch == ',') ch = rules.separator;
    const char* fields[datecs::kMaxFields] = {};
    char buf[300];
    const Split s = split(d, rules, fields, buf);
    ASSERT_EQ(s.count, datecs::kMaxFields);
    EXPECT_EQ(s.fields[18], "18");
    // The last field keeps the rest of the data.
    EXPECT_EQ(s.fields[19].substr(0, 3), std::string("19") + rules.separator);
    EXPECT_NE(s.fields[19].find("29"), std::string::npos);
  }
}

TEST(WellFormedReply, AcceptsAQuendarFrameAndRejectsEachFault) {
  const std::array<std::uint8_t, 6> idle = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  const std::string good = build_reply_frame(kQuendarPolicy, 0x21, 0x80, "0000", "A;", idle);
  const auto check = [](const std::string& bytes) {
    char raw[datecs::kRawReplySize] = {};
    std::memcpy(raw, bytes.data(), std::min(bytes.size(), sizeof raw - 1));
    return is_well_formed_reply(raw);
  };
  EXPECT_TRUE(check(good));
  const auto with = [&](std::size_t pos, char c) { std::string s = good; s[pos] = c; return s; };
  const std::string faults[] = {
      with(0, 0x02), with(1, 0x2F), with(2, 0x1F), with(3, 0x1F), with(8, '0'),
      with(good.size() - 1, 0x04), with(good.size() - 6, 0x06),
      good.substr(0, 8), "", std::string("\x01\x30\x21\x80", 4),
      build_reply_frame(kQuendarPolicy, 0x21, 0x80, "00000", "A;", idle),  // five-character code
  };
  for (const std::string& f : faults) EXPECT_FALSE(check(f));
}

}  // namespace
