// SPDX-License-Identifier: GPL-3.0-or-later
// Long streams of random bytes must never take the receiver or the result building out
// of their buffers (this suite also runs under AddressSanitizer).
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "link/frame.hpp"
#include "link/protocol_driver.hpp"
#include "support/fake_serial_port.hpp"

namespace {

using namespace device_link;

// Random bytes, rich in the bytes that steer the machine, with real frames mixed in.
std::string random_stream(std::mt19937& rng, const VariantPolicy& policy, std::size_t length) {
  static constexpr std::uint8_t kSteering[] = {0x01, 0x03, 0x04, 0x05, 0x15, 0x16, ';', ',', ' ', 0x30, 0x2B, 0xFF, 0x00};
  std::uniform_int_distribution<int> kind(0, 9), byte(0, 255), steer(0, std::size(kSteering) - 1);
  std::string s;
  while (s.size() < length) {
    const int k = kind(rng);
    if (k < 5) {
      s += static_cast<char>(byte(rng));
    } else if (k < 8) {
      s += static_cast<char>(kSteering[steer(rng)]);
    } else {
      std::string data;
      const int n = byte(rng) % 230;
      for (int i = 0; i < n; ++i) data += static_cast<char>(k == 8 ? ';' : 0x20 + byte(rng) % 95);
      const std::array<std::uint8_t, 6> st = {static_cast<std::uint8_t>(byte(rng)), 0, 0, 0, 0, 0};
      std::string frame = build_reply_frame(policy, 0x21, static_cast<std::uint8_t>(byte(rng)),
                                            std::string(static_cast<std::size_t>(byte(rng) % 25), '0'), data, st);
      s += frame.substr(0, static_cast<std::size_t>(byte(rng)) % (frame.size() + 1));
    }
  }
  return s;
}

TEST(RandomStreams, ReceiverStaysWithinItsBuffers) {
  for (const VariantPolicy* policy : {&kQuendarPolicy, &kDatecsPolicy}) {
    std::mt19937 rng(12345);
    char raw[datecs::kRawReplySize] = {};
    ReplyReceiver receiver(*policy, raw);
    for (int exchange = 0; exchange < 300; ++exchange) {
      receiver.start_exchange();
      for (char c : random_stream(rng, *policy, 2000)) {
        receiver.dispatch(static_cast<std::uint8_t>(c));
        ASSERT_LE(receiver.raw_reply().size(), ReplyReceiver::kRawCapacity);
        ASSERT_LT(receiver.error_code().size(), ReplyReceiver::kErrorCodeSize);
        ASSERT_LT(receiver.reply_length(), ReplyReceiver::kReplyDataSize);
      }
      receiver.end_exchange();
    }
  }
}

TEST(RandomStreams, ResultBuildingSurvivesAnyReply) {
  for (const VariantPolicy* policy : {&kQuendarPolicy, &kDatecsPolicy}) {
    std::mt19937 rng(777);
    testing_support::VirtualClock clock;
    testing_support::FakeSerialPort port(clock);
    ProtocolDriver driver(*policy, port, clock);
    driver.open_port("COM1", 9600);
    driver.set_reply_count(1);
    port.responder = [&](const std::string&) { return random_stream(rng, *policy, 600); };
    static constexpr int kCommands[] = {50, 53, 62, 90, 0xA7, 0x21};
    for (int i = 0; i < 400; ++i) {
      const datecs::RetData* r = driver.execute_command(kCommands[i % 6], "1;2;");
      ASSERT_GE(r->FieldCount, 0);
      ASSERT_LE(r->FieldCount, datecs::kMaxFields);
      for (int f = 0; f < r->FieldCount; ++f) ASSERT_NE(r->Fields[f], nullptr);
      ASSERT_LE(std::string(r->ReplyText).size(), 128u);
      ASSERT_LT(strnlen(r->RawReply, sizeof r->RawReply), sizeof r->RawReply);
      ASSERT_TRUE(driver.idle());
    }
  }
}

}  // namespace
