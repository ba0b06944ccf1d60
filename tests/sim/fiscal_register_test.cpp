// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated register as a client sees it: every answer goes through the real
// protocol driver (scripted port, virtual time).
#include "sim/fiscal_register.hpp"

#include <gtest/gtest.h>

#include <string>

#include "link/command_data.hpp"
#include "messages/status_word.hpp"
#include "retrieval/base64.hpp"
#include "sim/register_client.hpp"
#include "sim/sample_journal.hpp"

namespace {

using namespace device_link;
using sim::FiscalRegister;
using sim::JournalIndex;
using sim::RegisterSettings;
using sim_testing::RegisterClient;

const JournalIndex& sample() {
  static const JournalIndex index = JournalIndex::from_text(sim::sample_journal_text());
  return index;
}

FiscalRegister make_register(const VariantPolicy& policy, RegisterSettings settings = {}, sim::FaultPlan faults = {}) {
  return FiscalRegister(policy, std::move(settings), sample(), std::move(faults));
}

bool is_quendar(const VariantPolicy& policy) { return &policy == &kQuendarPolicy; }

// The data of a command as the client's journal wrappers write it.
std::string data_of(const VariantPolicy& policy, std::initializer_list<DataField> fields,
                    std::string_view password = "271828") {
  return command_data(policy, password, fields);
}

TEST(FiscalRegister, DiagnosticIdentifiesTheRegisterInEachVariant) {
  struct Case {
    const VariantPolicy* policy;
    bool service_mode;
    int fields;
    const char* field1;
    int factory_field;
    std::uint8_t status0;
  };
  const Case cases[] = {
      {&kDatecsPolicy, false, 8, "SIM-DT", 7, 0x00},
      {&kDatecsPolicy, true, 8, "SIM-DT", 7, 0x00},  // Datecs reports no service mode
      {&kQuendarPolicy, false, 3, "SIM-QN", 3, 0x00},
      {&kQuendarPolicy, true, 3, "SIM-QN", 3, 0x01},
  };
  for (const Case& c : cases) {
    RegisterSettings settings;
    settings.service_mode = c.service_mode;
    FiscalRegister reg = make_register(*c.policy, settings);
    RegisterClient client(reg);
    const bool quendar = is_quendar(*c.policy);
    const auto& r = client.run(quendar ? kQuendarDiagnostic : kDatecsDiagnostic, data_of(*c.policy, {}));
    const std::string what = std::string(c.policy->name) + (c.service_mode ? " service" : "");
    EXPECT_EQ(r.Status & status::kLinkBits, 0u) << what;
    EXPECT_EQ(r.FieldCount, c.fields) << what;
    EXPECT_EQ(client.field(1), c.field1) << what;
    EXPECT_EQ(client.field(c.factory_field), sample().factory_number()) << what;
    EXPECT_EQ(r.StatusBytes[0], c.status0) << what;
    if (quendar) {
      EXPECT_STREQ(r.ErrorField, "0000") << what;
    }
  }
}

// Fetches one document the way the retrieval does and joins the decoded fragments.
std::string fetch(RegisterClient& client, const VariantPolicy& policy, int type, long number, int& fragments) {
  std::string joined;
  for (fragments = 0; fragments < 1000; ++fragments) {
    const auto& r = client.run(kReadDocument, data_of(policy, {type, static_cast<int>(number), fragments}));
    if (is_quendar(policy) && std::string(r.ErrorField) != "0000") break;
    if (r.FieldCount != 2) break;
    const std::string v = client.field(1);
    if (v == "0" || (!is_quendar(policy) && v == "-1")) break;
    joined += retrieval::base64_decode(client.field(2));
  }
  return joined;
}

TEST(FiscalRegister, EveryDocumentArrivesWholeInTheFewestFragments) {
  for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
    FiscalRegister reg = make_register(*policy);
    RegisterClient client(reg);
    // The largest chunk: three bytes more would not fit the reply frame.
    const std::size_t chunk = reg.fragment_bytes();
    EXPECT_LE(reg.reply_data({"1", retrieval::base64_encode(std::string(chunk, 'x'))}).size(),
              max_reply_data(*policy));
    EXPECT_GT(reg.reply_data({"1", retrieval::base64_encode(std::string(chunk + 3, 'x'))}).size(),
              max_reply_data(*policy));
    for (const sim::JournalDocument& doc : sample().documents()) {
      int fragments = 0;
      EXPECT_EQ(fetch(client, *policy, 1, doc.number, fragments), doc.bytes) << policy->name << " " << doc.number;
      EXPECT_EQ(static_cast<std::size_t>(fragments), (doc.bytes.size() + chunk - 1) / chunk) << doc.number;
      if (doc.z_number) {
        int z_fragments = 0;
        EXPECT_EQ(fetch(client, *policy, 0, *doc.z_number, z_fragments), doc.bytes) << "Z " << *doc.z_number;
      }
    }
    int none = 0;
    EXPECT_EQ(fetch(client, *policy, 1, 9999, none), "");
    EXPECT_EQ(fetch(client, *policy, 0, 1, none), "") << "document 1 is a receipt, not Z-report 1";
  }
}

TEST(FiscalRegister, AnswerPastTheLastFragment) {
  struct Case {
    const VariantPolicy* policy;
    int end_mark;
    int fields;
    const char* field1;
  };
  const Case cases[] = {
      {&kDatecsPolicy, 0, 2, "0"},
      {&kDatecsPolicy, -1, 2, "-1"},
      {&kQuendarPolicy, -1, 1, "0"},  // -1 would tell a Quendar client that data follows
  };
  for (const Case& c : cases) {
    RegisterSettings settings;
    settings.end_mark = c.end_mark;
    FiscalRegister reg = make_register(*c.policy, settings);
    RegisterClient client(reg);
    for (const int number : {1, 9999}) {
      const auto& r = client.run(kReadDocument, data_of(*c.policy, {1, number, 50}));
      EXPECT_EQ(r.Status, 0u);
      EXPECT_EQ(r.FieldCount, c.fields) << c.policy->name << " " << number;
      EXPECT_EQ(client.field(1), c.field1) << c.policy->name << " " << number;
    }
  }
}

TEST(FiscalRegister, DateSpanGivesTheFirstAndLastDocumentToTheMinute) {
  // Sample documents: 1 at 13.05.24 08:55, 2 at 09:12, ..., 11 (Z-report) at 21:00;
  // 12..22 on 14.05.24; 23..33 on 15.05.24.
  struct Case {
    const char* from_date;
    const char* from_time;
    const char* to_date;
    const char* to_time;
    const char* first;  // nullptr: no document in the span
    const char* last;
  };
  const Case cases[] = {
      {"130524", "0912", "130524", "0912", "2", "2"},  // both ends inclusive, seconds dropped
      {"130524", "0856", "130524", "0946", "2", "2"},
      {"130524", "0000", "130524", "2359", "1", "11"},
      {"140524", "0000", "140524", "2359", "12", "22"},
      {"130524", "2100", "140524", "0855", "11", "12"},
      {"010524", "0000", "310524", "2359", "1", "33"},
      {"130524", "2101", "140524", "0854", nullptr, nullptr},
      {"140524", "0000", "130524", "2359", nullptr, nullptr},  // start after end
      {"010124", "0000", "311224", "2359", "1", "33"},
  };
  for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
    FiscalRegister reg = make_register(*policy);
    RegisterClient client(reg);
    for (const Case& c : cases) {
      const auto& r = client.run(kFindDocumentsByDate, data_of(*policy, {c.from_date, c.from_time, c.to_date, c.to_time, 0}));
      const std::string what = std::string(policy->name) + " " + c.from_date + c.from_time + "-" + c.to_date + c.to_time;
      EXPECT_EQ(r.Status & status::kLinkBits, 0u) << what;
      if (c.first) {
        EXPECT_EQ(r.FieldCount, 2) << what;
        EXPECT_EQ(client.field(1), c.first) << what;
        EXPECT_EQ(client.field(2), c.last) << what;
      } else {
        EXPECT_EQ(r.FieldCount, 0) << what;
        if (is_quendar(*policy)) {
          EXPECT_STREQ(r.ErrorField, "0202") << what;
        }
      }
    }
  }
}

TEST(FiscalRegister, RefusalsAreTheVariantsOwn) {
  // Quendar refuses with an error code (detail, then group); Datecs with a status bit.
  struct Case {
    const char* what;
    int command;
    const char* datecs_data;   // nullptr: not a Datecs case
    const char* quendar_data;  // nullptr: not a Quendar case
    std::uint32_t datecs_status;
    const char* quendar_code;
  };
  const Case cases[] = {
      {"unknown command", 0x21, "", "271828;", 0x00000002, "0002"},
      {"the other variant's diagnostic", 0x80, "", nullptr, 0x00000002, nullptr},
      {"the other variant's diagnostic", 0x5A, nullptr, "271828;", 0, "0002"},
      {"wrong password", 0xA7, nullptr, "000000;1;1;0;", 0, "0006"},
      {"no password", 0x80, nullptr, "", 0, "0006"},
      {"password without its separator", 0x80, nullptr, "271828", 0, "0000"},
      {"fragment not a number", 0xA7, "1,1,x", "271828;1;1;x;", 0x00000001, "0403"},
      {"missing fragment", 0xA7, "1,1", "271828;1;1;", 0x00000001, "0403"},
      {"unknown document type", 0xA7, "5,1,0", "271828;5;1;0;", 0x00000001, "0204"},
      {"negative fragment", 0xA7, "1,1,-1", "271828;1;1;-1;", 0x00000001, "0404"},
      {"day 32", 0xEE, "320524,0000,010624,0000,0", "271828;320524;0000;010624;0000;0;", 0x00000001, "0203"},
      {"minute 60", 0xEE, "010524,0060,010624,0000,0", "271828;010524;0060;010624;0000;0;", 0x00000001, "0303"},
      {"end time short", 0xEE, "010524,0000,010624,000,0", "271828;010524;0000;010624;000;0;", 0x00000001, "0503"},
      {"print range not numbers", 0xEB, "a,b", "271828;a;b;", 0x00000001, "0203"},
  };
  for (const Case& c : cases) {
    for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
      const bool quendar = is_quendar(*policy);
      const char* data = quendar ? c.quendar_data : c.datecs_data;
      if (!data) continue;
      FiscalRegister reg = make_register(*policy);
      RegisterClient client(reg);
      const auto& r = client.run(c.command, data);
      const std::string what = std::string(policy->name) + ": " + c.what;
      if (quendar) {
        EXPECT_STREQ(r.ErrorField, c.quendar_code) << what;
        EXPECT_EQ(r.Status, 0u) << what;
      } else {
        EXPECT_EQ(r.Status, c.datecs_status) << what;
      }
      if (std::string(c.what) != "password without its separator") {
        EXPECT_EQ(r.FieldCount, 0) << what;
      }
    }
  }
}

TEST(FiscalRegister, PrintingIsAnsweredAtOnceAndReported) {
  for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
    FiscalRegister reg = make_register(*policy);
    const std::string frame = build_request_frame(kPrintDocuments, data_of(*policy, {3, 7}), 5);
    const auto answers = reg.receive(frame);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].event, "printing documents 3 to 7");
    EXPECT_TRUE(answers[0].works);
    EXPECT_NE(answers[0].log.find("SEQ 25 CMD EB"), std::string::npos) << answers[0].log;
    RegisterClient client(reg);
    EXPECT_EQ(client.run(kPrintDocuments, data_of(*policy, {3, 7})).Status, 0u);
  }
}

TEST(FiscalRegister, FaultsHitTheNumberedRequestOnly) {
  struct Case {
    const char* fault;
    std::uint32_t link_bits;  // what the client sees: no reply, NAK, checksum
    bool fields_intact;       // the diagnostic answer still arrives whole
  };
  const Case cases[] = {
      {"silence", status::kNoReply, false},
      {"nak", status::kNak, false},
      {"bad-checksum", status::kChecksumMismatch, false},
      {"garbage", status::kNoReply, false},
      {"truncate", status::kNoReply, false},
      {"noise-before", 0, true},
      {"syn-storm", 0, true},
      {"oversize", status::kChecksumMismatch, false},
      {"many-fields", 0, false},
      {"error=0B01", 0, false},
  };
  for (const Case& c : cases) {
    for (const VariantPolicy* policy : {&kDatecsPolicy, &kQuendarPolicy}) {
      const bool quendar = is_quendar(*policy);
      const int diagnostic = quendar ? kQuendarDiagnostic : kDatecsDiagnostic;
      sim::FaultPlan plan;
      plan.add(2, *sim::parse_fault(c.fault));
      FiscalRegister reg = make_register(*policy, {}, plan);
      RegisterClient client(reg);
      const std::string what = std::string(policy->name) + " " + c.fault;
      EXPECT_EQ(client.run(diagnostic, data_of(*policy, {})).Status, 0u) << what << ": request 1";

      const auto& r = client.run(diagnostic, data_of(*policy, {}));
      EXPECT_EQ(r.Status & status::kLinkBits, c.link_bits) << what;
      EXPECT_LE(r.FieldCount, datecs::kMaxFields) << what;
      if (c.fields_intact) {
        EXPECT_EQ(r.FieldCount, quendar ? 3 : 8) << what;
      }
      if (std::string(c.fault) == "many-fields") {
        EXPECT_EQ(r.FieldCount, datecs::kMaxFields) << what;
      }
      if (std::string(c.fault) == "error=0B01") {
        if (quendar) {
          EXPECT_STREQ(r.ErrorField, "0B01") << what;
        } else {
          EXPECT_EQ(r.Status, 0x08000000u) << what << ": the general-error bit";
        }
      }
      const auto& after = client.run(diagnostic, data_of(*policy, {}));
      EXPECT_EQ(after.Status, 0u) << what << ": request 3";
      EXPECT_EQ(after.FieldCount, quendar ? 3 : 8) << what << ": request 3";
    }
  }
}

TEST(FiscalRegister, RandomFaultsAreReproducibleBySeed) {
  const std::string good =
      make_register(kDatecsPolicy).receive(build_request_frame(kDatecsDiagnostic, "", 1))[0].bytes;
  const auto run = [&good](std::uint32_t seed, double rate) {
    sim::FaultPlan plan;
    plan.set_random(rate, seed);
    FiscalRegister reg = make_register(kDatecsPolicy, {}, plan);
    std::vector<std::string> answers;
    int disturbed = 0;
    for (int i = 0; i < 400; ++i) {
      answers.push_back(reg.receive(build_request_frame(kDatecsDiagnostic, "", 1))[0].bytes);
      if (answers.back() != good) ++disturbed;
    }
    return std::pair{answers, disturbed};
  };
  EXPECT_EQ(run(7, 0.3).first, run(7, 0.3).first);
  EXPECT_NE(run(7, 0.3).first, run(8, 0.3).first);
  EXPECT_EQ(run(7, 0.0).second, 0);
  EXPECT_EQ(run(7, 1.0).second, 400);
  const int some = run(7, 0.3).second;
  EXPECT_GT(some, 80);
  EXPECT_LT(some, 160);
}

}  // namespace
