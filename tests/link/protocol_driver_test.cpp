// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/protocol_driver.hpp"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "link/abort.hpp"
#include "link/datecs.hpp"
#include "link/frame.hpp"
#include "link/quendar.hpp"
#include "support/fake_serial_port.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace device_link;
using namespace text::literals;
using testing_support::FakeSerialPort;
using testing_support::VirtualClock;

constexpr std::array<std::uint8_t, 6> kIdle = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

// A register that answers every request at once with the given data.
std::string answer(const VariantPolicy& policy, const std::string& request, std::string_view data,
                   std::string_view code = "0000", std::array<std::uint8_t, 6> status = kIdle) {
  const auto r = parse_request_frame(request);
  return build_reply_frame(policy, r ? r->sequence : 0x20, r ? r->command : 0, code, data, status);
}

struct DriverRig {
  explicit DriverRig(const VariantPolicy& policy, bool open = true)
      : port(clock), driver(policy, port, clock) {
    if (open) {
      EXPECT_EQ(driver.open_port("COM1", 9600), 0);
    }
  }
  VirtualClock clock;
  FakeSerialPort port;
  ProtocolDriver driver;
};

TEST(Exchange, AFrameCutInItsDataGivesNoFields) {
  for (const VariantPolicy* policy : {&kQuendarPolicy, &kDatecsPolicy}) {
    DriverRig rig(*policy);
    rig.port.responder = [policy](const std::string& req) {
      const std::string frame = answer(*policy, req, "1;QUJDREVGR0hJ;");
      return frame.substr(0, frame.size() - 14);  // ends inside the data
    };
    rig.driver.send(0xA7, "1,1,0");
    const datecs::RetData& r = rig.driver.result();
    EXPECT_EQ(r.Status, 0x04000000u) << policy->name;
    EXPECT_EQ(r.FieldCount, 0) << policy->name;
    EXPECT_STREQ(r.ReplyText, "") << policy->name;
  }
}

TEST(QuendarExchange, ResultRecordOfACleanReply) {
  DriverRig rig(kQuendarPolicy);
  rig.port.responder = [](const std::string& req) { return answer(kQuendarPolicy, req, "ECR-1;2.05;SN;"); };
  const datecs::RetData* r = rig.driver.execute_command(0x80, "271828;");
  EXPECT_EQ(r->Status, 0u);
  EXPECT_EQ(r->Command, 0x80);
  EXPECT_STREQ(r->ErrorField, "0000");
  ASSERT_EQ(r->FieldCount, 3);
  EXPECT_STREQ(r->Fields[0], "ECR-1");
  EXPECT_STREQ(r->Fields[2], "SN");
  EXPECT_STREQ(r->ReplyText, "ECR-1;2.05;SN;");
  EXPECT_EQ(std::string(r->CommandName), "Команда 80h: Диагностическая информация"_cp1251);
  EXPECT_STREQ(r->SentData, "271828;");
  EXPECT_EQ(std::string(r->SentFrame), rig.port.writes.at(0));
  EXPECT_EQ(std::string(r->RawReply), rig.driver.last_raw_reply());
  EXPECT_EQ(r->StatusBytes[0], 0x00);  // bit 7 cleared
  EXPECT_EQ(rig.port.writes.size(), 1u);
  EXPECT_TRUE(rig.driver.idle());
}

TEST(QuendarExchange, PortIsFlushedAndPurgedBeforeEveryRequest) {
  DriverRig rig(kQuendarPolicy);
  rig.port.calls.clear();
  rig.driver.send(0x21, "");
  const std::vector<std::string> expected = {"purge", "write"};
  ASSERT_GE(rig.port.calls.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(rig.port.calls.begin(), rig.port.calls.begin() + 2), expected);
  EXPECT_EQ(rig.port.flushes, 1);
}

TEST(QuendarExchange, RepeatsAndTheirTiming) {
  struct Case {
    const char* what;
    int reply_count;
    std::vector<std::string> replies;  // per request; "" is silence
    std::size_t sends;
    std::int64_t slept;
  };
  const std::string garbage = "\x01garbage\x03";
  const Case cases[] = {
      {"count 0 sends once, unchecked", 0, {garbage}, 1, 0},
      {"garbage with count 1 is sent twice", 1, {garbage, garbage}, 2, 2000},
      {"count 3 stops repeating at a good reply", 3, {garbage, "good"}, 2, 2000},
      {"count 2 with garbage throughout", 2, {garbage, garbage, garbage}, 3, 4000},
  };
  for (const Case& c : cases) {
    DriverRig rig(kQuendarPolicy);
    rig.driver.set_reply_count(c.reply_count);
    std::size_t n = 0;
    rig.port.responder = [&](const std::string& req) {
      const std::string& r = c.replies.at(std::min(n++, c.replies.size() - 1));
      return r == "good" ? answer(kQuendarPolicy, req, "OK;") : r;
    };
    rig.driver.execute_command(0x21, "");
    EXPECT_EQ(rig.port.writes.size(), c.sends) << c.what;
    EXPECT_EQ(rig.clock.slept_ms(), c.slept) << c.what;
    for (std::size_t i = 1; i < rig.port.writes.size(); ++i) {
      EXPECT_EQ(rig.port.writes[i], rig.port.writes[0]) << c.what << ": same SEQ and checksum";
      EXPECT_GE(rig.port.write_times[i] - rig.port.write_times[i - 1], 2000) << c.what;
    }
  }
}

TEST(Abort, EndsEveryWaitOfAnExchangeWithinOneReadAndRepeatsNothing) {
  struct Case {
    const char* what;
    int abort_at_read;   // 0: requested before the exchange
    bool line_busy;      // the line keeps sending bytes that never make a frame
    std::size_t writes;
  };
  const Case cases[] = {
      {"before the request", 0, false, 0},
      {"during a silence that would be repeated", 5, false, 1},
      {"on a line that never stops sending", 1000, true, 1},
  };
  for (const Case& c : cases) {
    DriverRig rig(kQuendarPolicy);
    rig.driver.set_reply_count(3);
    int reads = 0;
    std::int64_t aborted_at = rig.clock.now_ms();
    if (c.abort_at_read == 0) request_abort();
    rig.port.endless_source = [&](std::uint8_t& b) {
      if (++reads == c.abort_at_read) {
        request_abort();
        aborted_at = rig.clock.now_ms();
      }
      b = 'x';
      return c.line_busy;
    };
    const datecs::RetData* r = rig.driver.execute_command(0x21, "");
    clear_abort();
    EXPECT_EQ(r->Status, status::kNoReply) << c.what;
    EXPECT_EQ(rig.port.writes.size(), c.writes) << c.what;
    EXPECT_EQ(rig.clock.slept_ms(), 0) << c.what;
    EXPECT_LE(rig.clock.now_ms() - aborted_at, kReadTimeoutMs) << c.what;
  }
}

TEST(Abort, EndsASleepOfTheSystemClockAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  std::thread signal([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    request_abort();
  });
  system_clock().sleep_ms(kRepeatDelayMs);
  const auto slept = std::chrono::steady_clock::now() - start;
  signal.join();
  clear_abort();
  EXPECT_LT(slept, std::chrono::milliseconds(500));
}

TEST(QuendarExchange, SilentRegisterAfterAGoodReplyIsNotRepeatedButReportsNoReply) {
  DriverRig rig(kQuendarPolicy);
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 1), "A;"));
  rig.driver.execute_command(0x21, "");
  const int before = rig.port.empty_reads;
  const datecs::RetData* r = rig.driver.execute_command(0x21, "");
  EXPECT_EQ(rig.port.empty_reads - before, kSilentReads);
  EXPECT_EQ(rig.port.writes.size(), 2u);
  EXPECT_EQ(r->Status, status::kNoReply);
  EXPECT_TRUE(rig.driver.last_raw_reply().empty());
}

TEST(QuendarExchange, LinkFailuresBecomeTheirStatusWords) {
  struct Case { const char* what; std::uint32_t word; };
  const Case cases[] = {{"nak", status::kNak}, {"bad-sum", status::kChecksumMismatch},
                        {"silence", status::kNoReply}, {"busy", 0x00000200 | 0x08000000}};
  for (const Case& c : cases) {
    DriverRig rig(kQuendarPolicy);
    rig.driver.set_reply_count(0);
    const std::string what = c.what;
    rig.port.responder = [&](const std::string& req) -> std::string {
      if (what == "nak") return "\x16\x15";
      if (what == "silence") return "";
      std::string reply = answer(kQuendarPolicy, req, "A;", "0000", {0x80, 0x80, 0x81, 0x80, 0x80, 0x80});
      if (what == "busy") reply = answer(kQuendarPolicy, req, "", "0000", {0xA0, 0x80, 0x81, 0x80, 0x80, 0x80});
      if (what == "bad-sum") reply[reply.size() - 3] ^= 1;
      return reply;
    };
    EXPECT_EQ(rig.driver.execute_command(0x21, "")->Status, c.word) << c.what;
  }
}

TEST(QuendarExchange, ChecksumMismatchDoesNotStickToTheNextReply) {
  DriverRig rig(kQuendarPolicy);
  rig.driver.set_reply_count(0);
  std::string bad = answer(kQuendarPolicy, build_request_frame(0x21, "", 1), "A;");
  bad[bad.size() - 2] ^= 1;
  rig.port.script(bad);
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 2), "A;"));
  EXPECT_EQ(rig.driver.execute_command(0x21, "")->Status, status::kChecksumMismatch);
  EXPECT_EQ(rig.driver.execute_command(0x21, "")->Status, 0u);
}

TEST(QuendarExchange, ReplyTextIsCutAt128WhileFieldsKeepEverything) {
  DriverRig rig(kQuendarPolicy);
  const std::string data = std::string(150, 'a') + ";" + std::string(49, 'b');
  rig.port.responder = [&](const std::string& req) { return answer(kQuendarPolicy, req, data); };
  const datecs::RetData* r = rig.driver.execute_command(0x21, "");
  EXPECT_EQ(std::string(r->ReplyText), data.substr(0, 128));
  ASSERT_EQ(r->FieldCount, 2);
  EXPECT_EQ(std::string(r->Fields[0]), std::string(150, 'a'));
  EXPECT_EQ(std::string(r->Fields[1]), std::string(49, 'b'));
}

TEST(QuendarExchange, EmptyReplyDataKeepsThePreviousFields) {
  DriverRig rig(kQuendarPolicy);
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 1), "X;Y;"));
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 2), ""));
  rig.driver.execute_command(0x21, "");
  const char* previous = rig.driver.result().Fields[1];
  const datecs::RetData* r = rig.driver.execute_command(0x21, "");
  EXPECT_EQ(r->FieldCount, 0);
  EXPECT_EQ(r->Fields[1], previous);
  EXPECT_STREQ(r->ReplyText, "");
}

TEST(QuendarExchange, AZeroByteEndsTheReplyText) {
  DriverRig rig(kQuendarPolicy);
  rig.driver.set_reply_count(0);  // the zero byte also makes the raw reply look malformed
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 1), "X;Y;"));
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 2), std::string("A\0B;C;", 6)));
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0x21, "", 3), std::string("\0B;C;", 5)));
  rig.driver.execute_command(0x21, "");
  const datecs::RetData* r = rig.driver.execute_command(0x21, "");
  ASSERT_EQ(r->FieldCount, 1);
  EXPECT_STREQ(r->Fields[0], "A");
  EXPECT_STREQ(r->ReplyText, "A");
  r = rig.driver.execute_command(0x21, "");
  EXPECT_EQ(r->FieldCount, 0);
  EXPECT_EQ(r->Fields[1], nullptr);  // cleared by the reply before; an empty reply keeps them
}

TEST(QuendarExchange, FixupAppliesToTheCommandSent) {
  DriverRig rig(kQuendarPolicy);
  rig.port.responder = [](const std::string& req) { return answer(kQuendarPolicy, req, "D1234"); };
  const datecs::RetData* r = rig.driver.execute_command(53, "");
  EXPECT_STREQ(r->ReplyText, "D1234");
  EXPECT_STREQ(r->Fields[0], "D,1234");
}

TEST(QuendarExchange, ErrorFieldSurvivesAnExchangeWithoutAFrame) {
  DriverRig rig(kQuendarPolicy);
  rig.driver.set_reply_count(0);
  rig.port.script(answer(kQuendarPolicy, build_request_frame(0xA7, "", 1), "", "0306"));
  rig.driver.execute_command(0xA7, "");
  const datecs::RetData* r = rig.driver.execute_command(0xA7, "");
  EXPECT_EQ(r->Status, status::kNoReply);
  EXPECT_STREQ(r->ErrorField, "0306");
}

TEST(QuendarExchange, DataTooLongForAFrameIsRefusedBeforeAnythingIsWritten) {
  DriverRig rig(kQuendarPolicy);
  rig.driver.set_reply_count(3);
  const std::uint8_t counter = rig.driver.sequence_counter();
  const std::string data(kMaxRequestData + 1, '7');
  const datecs::RetData* r = rig.driver.execute_command(0xA7, data);
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_EQ(r->Status, status::kNoReply);
  EXPECT_EQ(r->FieldCount, 0);
  EXPECT_EQ(rig.clock.slept_ms(), 0);
  EXPECT_EQ(rig.driver.sequence_counter(), counter);
  EXPECT_TRUE(rig.driver.idle());
  // At the limit it still goes out.
  rig.driver.execute_command(0xA7, data.substr(1));
  EXPECT_EQ(rig.port.writes.size(), 1u + 3u);
}

TEST(QuendarExchange, NothingIsSentBeforeAPortWasOpened) {
  DriverRig rig(kQuendarPolicy, false);
  EXPECT_EQ(rig.driver.send(0x21, ""), -1);
  EXPECT_EQ(rig.driver.repeat_command(false), -1);
  rig.driver.execute_command(0x21, "");
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_EQ(rig.clock.slept_ms(), 0);
}

TEST(SequenceCounter, FirstRequestCarries21AndTheCounterWraps) {
  DriverRig rig(kDatecsPolicy);
  for (int i = 0; i < 256; ++i) rig.driver.send(0x21, "");
  const auto seq = [&](std::size_t i) { return static_cast<std::uint8_t>(rig.port.writes[i][2]); };
  EXPECT_EQ(seq(0), 0x21);
  EXPECT_EQ(seq(93), 0x7E);   // counter 94
  EXPECT_EQ(seq(94), 0x20);   // counter 95
  EXPECT_EQ(seq(254), 0x61);  // counter 255
  EXPECT_EQ(seq(255), 0x20);  // counter 0
  // Reopening the port does not reset it.
  rig.driver.close_port();
  rig.driver.open_port("COM1", 9600);
  rig.driver.send(0x21, "");
  EXPECT_EQ(seq(256), 0x21);
}

TEST(DatecsExchange, ResultRecordAndSplit) {
  DriverRig rig(kDatecsPolicy);
  rig.port.responder = [](const std::string& req) { return answer(kDatecsPolicy, req, "1,15,"); };
  EXPECT_EQ(rig.driver.send(0xA7, "1,15,0", 7), 0);
  const datecs::RetData& r = rig.driver.result();
  EXPECT_EQ(r.Tag, 7);
  EXPECT_EQ(r.Status, 0u);
  EXPECT_EQ(r.FieldCount, 3);
  EXPECT_STREQ(r.Fields[2], "");
  EXPECT_STREQ(r.ErrorField, "");
  EXPECT_STREQ(r.SentFrame, "");
  EXPECT_EQ(std::string(r.CommandName), "Неверная команда"_cp1251);
  // One read time-out after the frame: the reading stops only at silence.
  EXPECT_EQ(rig.port.empty_reads, 1);
}

TEST(DatecsExchange, DiagnosticReplyBecomesEightFields) {
  DriverRig rig(kDatecsPolicy);
  rig.port.responder = [](const std::string& req) {
    return answer(kDatecsPolicy, req, "ECR-1 1.00 12Jan24 1200,FFFF,00,ABC123,00000000");
  };
  rig.driver.send(0x5A, "");
  const datecs::RetData& r = rig.driver.result();
  ASSERT_EQ(r.FieldCount, 8);
  EXPECT_STREQ(r.Fields[0], "ECR-1");
  EXPECT_STREQ(r.Fields[6], "ABC123");
  EXPECT_EQ(std::string(r.CommandName), "Запрос диагностической информации"_cp1251);
}

TEST(DatecsExchange, ReplyWithoutDataHasNoFields) {
  DriverRig rig(kDatecsPolicy);
  rig.port.responder = [](const std::string& req) { return answer(kDatecsPolicy, req, ""); };
  rig.driver.send(0xEB, "3,7");
  EXPECT_EQ(rig.driver.result().FieldCount, 0);
  EXPECT_EQ(rig.driver.result().Status, 0u);
}

TEST(DatecsExchange, OpenAndCloseSequence) {
  DriverRig rig(kDatecsPolicy);
  rig.driver.close_port();
  const std::vector<std::string> expected = {"open", "purge-abort", "purge-abort", "close"};
  EXPECT_EQ(rig.port.calls, expected);
  EXPECT_EQ(rig.port.flushes, 1);
  EXPECT_EQ(rig.port.opened_name, "COM1");
  rig.port.fail_close = true;
  EXPECT_EQ(rig.driver.close_port(), 0);
  rig.port.fail_open = true;
  EXPECT_EQ(rig.driver.open_port("COM2", 9600), -1);
}

// The program-wide free functions act on whichever driver is installed.
std::vector<datecs::RetData> delivered;
void collect(datecs::RetData& r) { delivered.push_back(r); }

TEST(DatecsProgramDriver, CallbackGetsEveryResultAndNothingBeforeAnOpen) {
  DriverRig rig(kDatecsPolicy, false);
  datecs::set_program_driver(&rig.driver);
  delivered.clear();
  EXPECT_EQ(datecs::send_with_callback(collect, 0, 0x5A, ""), -1);
  EXPECT_TRUE(delivered.empty());

  EXPECT_EQ(datecs::open_port("COM3", 19200), 0);
  rig.port.script("\x15");
  datecs::datecs_diagnostic_info(collect);
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(delivered[0].Status, status::kNak);
  EXPECT_EQ(rig.clock.now_ms(), kReadTimeoutMs + FakeSerialPort::kByteTimeMs);

  rig.port.responder = [](const std::string& req) { return answer(kDatecsPolicy, req, "1,QUJD"); };
  datecs::datecs_read_document(collect, 1, 15, 0, "271828");
  datecs::datecs_read_document(collect, 1, 15, 0);
  EXPECT_EQ(rig.port.writes[1].substr(4, 6), "1,15,0");
  EXPECT_EQ(parse_request_frame(rig.port.writes[1])->data, parse_request_frame(rig.port.writes[2])->data);
  EXPECT_EQ(delivered.size(), 3u);

  datecs::send_with_callback(collect, 0, 0x30, std::string(220, 'x'));
  EXPECT_EQ(delivered.back().Status, status::kNoReply);
  EXPECT_EQ(rig.port.writes.size(), 3u);
  datecs::set_program_driver(nullptr);
}

TEST(QuendarProgramDriver, WrappersSendTheirDataTextsAndKeepTheLastResult) {
  DriverRig rig(kQuendarPolicy);
  quendar::set_program_driver(&rig.driver);
  rig.port.responder = [](const std::string& req) { return answer(kQuendarPolicy, req, "1;QUJD;"); };
  const datecs::RetData r = quendar::quendar_read_document("271828", 0, 7, 2);
  EXPECT_EQ(parse_request_frame(rig.port.writes[0])->data, "271828;0;7;2;");
  EXPECT_EQ(r.FieldCount, 2);
  EXPECT_EQ(quendar::last_result().Command, 0xA7);
  EXPECT_EQ(std::string(quendar::last_result().Fields[1]), "QUJD");
  quendar::set_program_driver(nullptr);
}

}  // namespace
