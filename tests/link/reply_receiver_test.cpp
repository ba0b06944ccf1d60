// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/reply_receiver.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "link/frame.hpp"
#include "support/fake_serial_port.hpp"

namespace {

using namespace device_link;
using status::ExchangeOutcome;
using testing_support::FakeSerialPort;
using testing_support::VirtualClock;

constexpr std::array<std::uint8_t, 6> kIdle = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

struct Rig {
  explicit Rig(const VariantPolicy& policy) : receiver(policy, raw), port(clock) {
    port.open("COM1", 9600);
    receiver.start_exchange();
  }
  void feed(std::string_view bytes) {
    for (char c : bytes) receiver.dispatch(static_cast<std::uint8_t>(c));
  }
  char raw[datecs::kRawReplySize] = {};
  ReplyReceiver receiver;
  VirtualClock clock;
  FakeSerialPort port;
};

std::string quendar_reply(std::string_view data, std::string_view code = "0000") {
  return build_reply_frame(kQuendarPolicy, 0x21, 0x80, code, data, kIdle);
}

TEST(ReplyReceiver, CompleteFramesOfBothVariants) {
  struct Case { const VariantPolicy* policy; std::string data; };
  const Case cases[] = {{&kQuendarPolicy, "Model;1.0;X;"}, {&kQuendarPolicy, ""},
                        {&kDatecsPolicy, "1,QUJD"}, {&kDatecsPolicy, ""}};
  for (const Case& c : cases) {
    Rig rig(*c.policy);
    rig.feed(build_reply_frame(*c.policy, 0x2A, 0xA7, "0000", c.data, kIdle));
    EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::Complete) << c.policy->name << " " << c.data;
    EXPECT_EQ(std::string(rig.receiver.reply_data()), c.data);
    EXPECT_EQ(rig.receiver.reply_sequence(), 0x0A);
    EXPECT_EQ(rig.receiver.state(), ReceiverState::AwaitStart);
    EXPECT_EQ(rig.receiver.status_bytes()[5], 0x80);
  }
}

TEST(ReplyReceiver, ErrorCodeIsCollectedOnlyByTheQuendarVariant) {
  Rig rig(kQuendarPolicy);
  rig.feed(quendar_reply("X;", "0306"));
  EXPECT_EQ(rig.receiver.error_code(), "0306");
  EXPECT_EQ(std::string(rig.receiver.reply_data()), "X;");
}

TEST(ReplyReceiver, SynIsCountedButNeverStored) {
  Rig rig(kQuendarPolicy);
  const std::string frame = quendar_reply("A;");
  rig.feed("\x16\x16\x16" + frame);
  EXPECT_EQ(rig.receiver.syn_count(), 3);
  EXPECT_EQ(rig.receiver.raw_reply(), frame);
  EXPECT_EQ(std::string(rig.raw), frame);
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::Complete);
}

TEST(ReplyReceiver, SynInsideTheDataIsACharacterButBreaksTheHeader) {
  Rig data(kQuendarPolicy);
  std::string frame = quendar_reply("A\x16");
  data.feed(frame);
  EXPECT_EQ(std::string(data.receiver.reply_data()), "A\x16");
  EXPECT_EQ(data.receiver.outcome(), ExchangeOutcome::Complete);

  Rig header(kQuendarPolicy);
  frame = quendar_reply("A;");
  header.feed(frame.substr(0, 2) + "\x16" + frame.substr(2));  // SYN in place of SEQ
  EXPECT_NE(header.receiver.outcome(), ExchangeOutcome::Complete);
}

TEST(ReplyReceiver, PreambleRestartsWithAZeroSum) {
  Rig rig(kQuendarPolicy);
  const std::string frame = quendar_reply("Z;");
  rig.feed(frame.substr(0, 7));  // a frame broken off inside its error code
  rig.feed(frame);
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::Complete);
  EXPECT_EQ(rig.receiver.running_sum(), rig.receiver.received_checksum());
}

TEST(ReplyReceiver, TerminatorInsideAFrameEndsIt) {
  Rig rig(kQuendarPolicy);
  rig.feed(quendar_reply("ABCDEF").substr(0, 10) + "\x03");
  EXPECT_TRUE(rig.receiver.exchange_finished());
  EXPECT_TRUE(rig.receiver.frame_ended());
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::ChecksumMismatch);
}

TEST(ReplyReceiver, ChecksumDigitsAboveNineAndDamage) {
  // Data chosen so the sum has groups above nine.
  Rig good(kQuendarPolicy);
  const std::string frame = quendar_reply(std::string(40, '\xFE'));
  ASSERT_NE(frame.substr(frame.size() - 5, 4).find_first_of(":;<=>?"), std::string::npos);
  good.feed(frame);
  EXPECT_EQ(good.receiver.outcome(), ExchangeOutcome::Complete);

  Rig bad(kQuendarPolicy);
  std::string damaged = frame;
  damaged[damaged.size() - 2] = static_cast<char>(damaged[damaged.size() - 2] ^ 1);
  bad.feed(damaged);
  EXPECT_EQ(bad.receiver.outcome(), ExchangeOutcome::ChecksumMismatch);
}

TEST(ReplyReceiver, NakFinishesTheExchangeAndOnlyAStrayTerminatorClearsIt) {
  Rig rig(kQuendarPolicy);
  rig.feed("\x15");
  EXPECT_TRUE(rig.receiver.exchange_finished());
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::Nak);
  rig.feed("\x03");  // no frame came: nothing to vouch for
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::ChecksumMismatch);

  Rig framed(kQuendarPolicy);
  framed.feed("\x15" + quendar_reply("A;"));  // its terminator arrives in its place
  EXPECT_EQ(framed.receiver.outcome(), ExchangeOutcome::Nak);
  framed.feed("\x03");
  EXPECT_EQ(framed.receiver.outcome(), ExchangeOutcome::Complete);
}

TEST(ReplyReceiver, BytesAfterACompleteFrameDoNotSpoilItsChecksumButANewFrameDoes) {
  for (const char* trail : {"\x16xyz", "\x03", "\x16\x03\x03"}) {
    Rig trailing(kDatecsPolicy);
    trailing.feed(build_reply_frame(kDatecsPolicy, 0x21, 0x21, "", "A", kIdle) + trail);
    EXPECT_EQ(trailing.receiver.outcome(), ExchangeOutcome::Complete) << trail;
  }
  Rig restarted(kDatecsPolicy);
  restarted.feed(build_reply_frame(kDatecsPolicy, 0x21, 0x21, "", "A", kIdle) + "\x01\x2C");
  EXPECT_EQ(restarted.receiver.outcome(), ExchangeOutcome::ChecksumMismatch);
}

TEST(ReplyReceiver, MalformedHeaderBytesGoBackToWaitingForAPreamble) {
  struct Case { const VariantPolicy* policy; std::string bytes; };
  const Case cases[] = {
      {&kQuendarPolicy, "\x01\x2F"},            // LEN below 0x30
      {&kDatecsPolicy, "\x01\x2A"},             // LEN below 0x2B
      {&kQuendarPolicy, "\x01\x31\x1F"},        // SEQ below 0x20
      {&kDatecsPolicy, "\x01\x2B\x21\x5A\x07"}, // no status mark
  };
  for (const Case& c : cases) {
    Rig rig(*c.policy);
    rig.feed(c.bytes);
    EXPECT_EQ(rig.receiver.state(), ReceiverState::AwaitStart) << c.policy->name;
    EXPECT_FALSE(rig.receiver.exchange_finished());
  }
}

TEST(ReplyReceiver, BuffersHoldTheirLimits) {
  Rig code(kQuendarPolicy);
  code.feed("\x01\x30\x21\x80" + std::string(40, '7'));
  EXPECT_EQ(code.receiver.error_code(), std::string(19, '7'));

  Rig noise(kDatecsPolicy);
  noise.feed(std::string(1000, 'x'));
  EXPECT_EQ(noise.receiver.raw_reply().size(), ReplyReceiver::kRawCapacity);
  EXPECT_EQ(noise.raw[datecs::kRawReplySize - 1], '\0');
}

TEST(ReplyWait, SilenceCostsFiftyEmptyReadsAndKeepsThePreviousRawReply) {
  Rig rig(kQuendarPolicy);
  rig.feed(quendar_reply("OLD;"));
  const std::string previous(rig.raw);
  rig.receiver.end_exchange();
  rig.receiver.start_exchange();
  wait_for_reply(rig.receiver, rig.port, rig.clock);
  EXPECT_EQ(rig.port.empty_reads, kSilentReads);
  EXPECT_EQ(rig.clock.now_ms(), kSilentReads * kReadTimeoutMs);
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::NotFinished);
  EXPECT_EQ(std::string(rig.raw), previous);
}

TEST(ReplyWait, FrameEndStopsQuendarAtOnceButDatecsReadsOnUntilSilence) {
  for (const VariantPolicy* policy : {&kQuendarPolicy, &kDatecsPolicy}) {
    Rig rig(*policy);
    rig.port.script(build_reply_frame(*policy, 0x21, 0x21, "0000", "", kIdle) + "\x16");
    rig.port.write({});
    wait_for_reply(rig.receiver, rig.port, rig.clock);
    EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::Complete) << policy->name;
    const bool datecs = policy == &kDatecsPolicy;
    EXPECT_EQ(rig.port.empty_reads, datecs ? 1 : 0) << policy->name;
    EXPECT_EQ(rig.receiver.syn_count(), datecs ? 1 : 0) << policy->name;
  }
}

TEST(ReplyWait, WrongByteAfterTheChecksumEndsTheWaitUnfinished) {
  Rig rig(kQuendarPolicy);
  std::string frame = quendar_reply("A;");
  frame.back() = 'X';
  rig.port.script(frame + "more bytes that are never read");
  rig.port.write({});
  wait_for_reply(rig.receiver, rig.port, rig.clock);
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::NotFinished);
  EXPECT_EQ(rig.port.empty_reads, 0);
  EXPECT_EQ(rig.receiver.raw_reply(), frame);
}

TEST(ReplyWait, NakIsFollowedByOneSilentRead) {
  Rig rig(kDatecsPolicy);
  rig.port.script("\x16\x15");
  rig.port.write({});
  wait_for_reply(rig.receiver, rig.port, rig.clock);
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::Nak);
  EXPECT_EQ(rig.port.empty_reads, 1);
}

TEST(ReplyWait, ABusyLineCannotHoldTheWaitForever) {
  Rig rig(kQuendarPolicy);
  rig.port.endless_source = [](std::uint8_t& b) { b = kSyn; return true; };
  wait_for_reply(rig.receiver, rig.port, rig.clock);
  EXPECT_EQ(rig.receiver.outcome(), ExchangeOutcome::NotFinished);
  EXPECT_GE(rig.clock.now_ms(), kMaxExchangeMs);
  EXPECT_LT(rig.clock.now_ms(), kMaxExchangeMs + 1000);
}

TEST(ReplyWait, ReadErrorClearsThePortAndAbandonsTheFrame) {
  Rig rig(kQuendarPolicy);
  rig.feed(quendar_reply("A;").substr(0, 6));
  ASSERT_NE(rig.receiver.state(), ReceiverState::AwaitStart);
  rig.port.read_error_when_empty = true;
  EXPECT_FALSE(receive_byte(rig.receiver, rig.port));
  EXPECT_EQ(rig.port.error_clears, 1);
  EXPECT_EQ(rig.receiver.state(), ReceiverState::AwaitStart);
}

}  // namespace
