// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a client sends, the register keeps its buffer bounded, answers each damaged
// frame with one NAK and each well-formed request with its reply.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "link/frame.hpp"
#include "sim/fiscal_register.hpp"
#include "sim/request_reader.hpp"
#include "sim/sample_journal.hpp"

namespace {

using namespace device_link;

const std::string kNakByte(1, static_cast<char>(kNak));

// A reply frame of the variant to the given request, checksum and length right.
bool is_reply_to(const VariantPolicy& policy, const std::string& bytes, std::uint8_t sequence, std::uint8_t command) {
  if (bytes.size() < 17 || bytes[0] != static_cast<char>(kPreamble) || bytes.back() != static_cast<char>(kTerminator))
    return false;
  const std::size_t body = bytes.size() - 6;  // LEN through the post-amble
  const std::size_t data = body - 11 - (policy.reply_has_error_code ? 5 : 0);
  return static_cast<std::uint8_t>(bytes[1]) == policy.reply_length_base + data &&
         static_cast<std::uint8_t>(bytes[2]) == sequence && static_cast<std::uint8_t>(bytes[3]) == command &&
         bytes.substr(bytes.size() - 5, 4) == checksum_digits(byte_sum(std::string_view(bytes).substr(1, body)));
}

TEST(RequestStream, DamagedFramesGetOneNakEachAndTheNextRequestItsReply) {
  const std::string good = build_request_frame(0x5A, "", 3);
  std::string bad_sum = good;
  bad_sum[bad_sum.size() - 2] = static_cast<char>(bad_sum[bad_sum.size() - 2] ^ 1);
  std::string bad_length = good;
  bad_length[1] = 0x30;
  const std::string oversized = "\x01\x2F" + std::string(400, 'A') + "\x05" "0000\x03";
  const std::string too_short = "\x01\x24\x03";

  struct Case {
    const char* what;
    std::string stream;
    std::size_t naks;
  };
  const Case cases[] = {
      {"bad checksum", bad_sum, 1},
      {"wrong length byte", bad_length, 1},
      {"terminator right after the length", too_short, 1},
      {"oversized frame", oversized, 1},
      {"two damaged frames", bad_sum + bad_length, 2},
      {"a frame cut short by a new preamble", good.substr(0, 5), 0},
      {"noise without preamble", "hello\x03\x05\x15\x16 world\x03", 0},
  };
  for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
    for (const Case& c : cases) {
      sim::FiscalRegister reg(*policy, {}, sim::JournalIndex::from_text(sim::sample_journal_text()));
      const std::string request = policy == &kQuendarPolicy ? build_request_frame(0x80, "271828;", 3) : good;
      const auto answers = reg.receive(c.stream + request);
      ASSERT_EQ(answers.size(), c.naks + 1) << c.what;
      for (std::size_t i = 0; i < c.naks; ++i) {
        EXPECT_EQ(answers[i].bytes, kNakByte) << c.what;
        EXPECT_FALSE(answers[i].works) << c.what;
      }
      EXPECT_TRUE(is_reply_to(*policy, answers.back().bytes, 0x23, static_cast<std::uint8_t>(request[3])))
          << policy->name << ": " << c.what;
    }
  }
}

TEST(RequestStream, RequestsUpToTheLongestAreAnsweredHoweverTheyArrive) {
  sim::FiscalRegister reg(kDatecsPolicy, {}, sim::JournalIndex::from_text(sim::sample_journal_text()));
  const std::string shortest = build_request_frame(0xA7, "1,2,0", 40);
  const std::string longest = build_request_frame(0xA7, "1,2,0," + std::string(kMaxRequestData - 6, '9'), 41);
  ASSERT_EQ(longest.size(), sim::RequestReader::kMaxFrame);
  for (const std::string& frame : {shortest, longest}) {
    std::vector<sim::Answer> answers;
    for (char c : frame)
      for (sim::Answer& a : reg.receive(std::string(1, c))) answers.push_back(std::move(a));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(is_reply_to(kDatecsPolicy, answers[0].bytes, static_cast<std::uint8_t>(frame[2]), 0xA7));
  }
}

// Noise rich in the bytes that steer a frame, partial and oversized frames, and good
// requests, cut into chunks of random size.
std::string random_stream(std::mt19937& rng, std::size_t length) {
  static constexpr char kSteering[] = {0x01, 0x03, 0x05, 0x15, 0x16, ',', ';', 0x24, 0x30, '\xFF', 0x00};
  std::uniform_int_distribution<int> kind(0, 9), byte(0, 255);
  std::string s;
  while (s.size() < length) {
    const int k = kind(rng);
    if (k < 4) {
      s += static_cast<char>(byte(rng));
    } else if (k < 7) {
      s += kSteering[static_cast<std::size_t>(byte(rng)) % sizeof kSteering];
    } else if (k < 8) {
      s += "\x01\xFF\x21\x5A" + std::string(static_cast<std::size_t>(200 + byte(rng)), 'Z');
    } else {
      std::string data;
      for (int i = byte(rng) % 60; i > 0; --i) data += static_cast<char>(0x20 + byte(rng) % 95);
      const std::string frame = build_request_frame(static_cast<std::uint8_t>(byte(rng)), data,
                                                    static_cast<std::uint8_t>(byte(rng)));
      s += frame.substr(0, static_cast<std::size_t>(byte(rng)) % (frame.size() + 1));
    }
  }
  return s;
}

TEST(RequestStream, RandomStreamsNeverStopTheRegister) {
  for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
    std::mt19937 rng(2024);
    sim::FiscalRegister reg(*policy, {}, sim::JournalIndex::from_text(sim::sample_journal_text()));
    sim::RequestReader reader;
    for (int round = 0; round < 300; ++round) {
      const std::string stream = random_stream(rng, 1500);
      for (std::size_t at = 0; at < stream.size();) {
        const std::size_t n = std::min<std::size_t>(1 + rng() % 64, stream.size() - at);
        for (const sim::Answer& a : reg.receive(std::string_view(stream).substr(at, n)))
          ASSERT_TRUE(a.bytes.size() < 1024) << "round " << round;
        (void)reader.feed(std::string_view(stream).substr(at, n));
        ASSERT_LT(reader.buffered(), sim::RequestReader::kMaxFrame);
        at += n;
      }
      const auto counter = static_cast<std::uint8_t>(round);
      const std::string request = policy == &kQuendarPolicy ? build_request_frame(0xA7, "271828;1;3;0;", counter)
                                                            : build_request_frame(0xA7, "1,3,0", counter);
      const auto answers = reg.receive(request);
      ASSERT_FALSE(answers.empty()) << "round " << round;
      ASSERT_TRUE(is_reply_to(*policy, answers.back().bytes, sequence_byte(counter), 0xA7)) << "round " << round;
    }
  }
}

}  // namespace
