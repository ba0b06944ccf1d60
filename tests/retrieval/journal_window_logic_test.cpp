// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window's handlers on the program's drivers, each on a scripted port in
// virtual time, answered by a scripted or a simulated register.
#include "retrieval/journal_window_logic.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "link/command_data.hpp"
#include "link/datecs.hpp"
#include "link/abort.hpp"
#include "link/frame.hpp"
#include "link/quendar.hpp"
#include "retrieval/base64.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "sim/fiscal_register.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"
#include "support/fake_serial_port.hpp"
#include "support/scripted_dialogs.hpp"
#include "support/temp_dir.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace device_link;
using retrieval::JournalWindowLogic;
using testing_support::FakeSerialPort;
using testing_support::read_file;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;
using testing_support::VirtualClock;
using Outcome = retrieval::RetrievalResult::Outcome;

// Windows-1251 from the UTF-8 of this file.
std::string win(std::string_view utf8) { return text::from_utf8(utf8); }

const std::string kFailure1 = win("Непредвиденный сбой в структуре получаемой информации!");
const std::string kFailure2 = win("Попробуйте выбрать другой диапазон номеров или дат!");

class RecordingAttention final : public retrieval::AttentionWindow {
 public:
  void set_caption(std::string_view c) override { caption = c; }
  void set_activity(std::string_view t) override { activity = t; }
  void set_progress(std::string_view t) override {
    if (!t.empty()) progress.emplace_back(t);
  }
  void show() override { shown = true; }
  void hide() override { shown = false; }
  void repaint() override {}
  bool is_active() const override { return active; }

  std::string caption, activity;
  std::vector<std::string> progress;
  bool shown = false;
  bool active = true;
};

// One register reply: the error code (Quendar) and the fields.
struct Reply {
  std::string code = "0000";
  std::vector<std::string> fields;
  std::uint8_t status0 = 0x80;  // the first status byte (Datecs refusals: 0x81 syntax error)
};

// The journal window with both program drivers on fake ports. The register is a script
// (a function from request to reply) or the simulated register with a journal.
class Rig {
 public:
  explicit Rig(bool datecs_variant) : datecs(datecs_variant) {
    for (FakeSerialPort* port : {&quendar_port, &datecs_port})
      port->responder = [this](const std::string& frame) { return answer(frame); };
    quendar::set_program_driver(&quendar_driver);
    datecs::set_program_driver(&datecs_driver);
    quendar_driver.open_port("COM1", 9600);
    datecs_driver.open_port("COM1", 9600);
    quendar_driver.set_reply_count(0);
  }
  ~Rig() {
    quendar::set_program_driver(nullptr);
    datecs::set_program_driver(nullptr);
  }

  const VariantPolicy& policy() const { return datecs ? kDatecsPolicy : kQuendarPolicy; }

  // Answers every request from the script; requests it lacks get the register's end.
  void script(std::function<Reply(const Request&)> replies) {
    respond = [this, replies = std::move(replies)](const Request& r) {
      const Reply reply = replies(r);
      const std::array<std::uint8_t, 6> status = {reply.status0, 0x80, 0x80, 0x80, 0x80, 0x80};
      return build_reply_frame(policy(), r.sequence, r.command, reply.code, join_fields(policy(), reply.fields),
                               status);
    };
  }

  void serve_journal(const std::string& journal_text, sim::FaultPlan faults = {}) {
    reg = std::make_unique<sim::FiscalRegister>(policy(), sim::RegisterSettings{},
                                                sim::JournalIndex::from_text(journal_text), std::move(faults));
    respond = [this](const Request& r) {
      sim::Answer a = reg->answer(r);
      if (!a.event.empty()) events.push_back(a.event);
      return a.bytes;
    };
  }

  // The data of every request of the given command.
  std::vector<std::string> sent(int command) const {
    std::vector<std::string> data;
    for (const Request& r : requests)
      if (r.command == command) data.push_back(r.data);
    return data;
  }

  bool datecs;
  VirtualClock clock;
  FakeSerialPort quendar_port{clock}, datecs_port{clock};
  ProtocolDriver quendar_driver{kQuendarPolicy, quendar_port, clock};
  ProtocolDriver datecs_driver{kDatecsPolicy, datecs_port, clock};
  ScriptedDialogs dialogs;
  RecordingAttention attention;
  retrieval::NoWindowFrame window_frame;
  messages::ProgramState program;
  TempDir dir;
  JournalWindowLogic window{{program, dialogs, attention, window_frame, [this] { return datecs; }, clock}, dir.file("temp.xml")};
  std::function<std::string(const Request&)> respond;
  std::unique_ptr<sim::FiscalRegister> reg;
  std::vector<Request> requests;
  std::vector<std::string> events;

 private:
  std::string answer(const std::string& frame) {
    const auto request = parse_request_frame(frame);
    if (!request) return std::string(1, static_cast<char>(kNak));
    requests.push_back(*request);
    return respond ? respond(*request) : std::string();
  }
};

// "number,fragment" of a read-document request.
std::string fragment_id(bool datecs, std::string data) {
  const char sep = datecs ? ',' : ';';
  if (!datecs) data = data.substr(data.find(';') + 1, data.size() - data.find(';') - 2);  // password, last ";"
  data = data.substr(data.find(sep) + 1);                                                  // the type
  std::replace(data.begin(), data.end(), sep, ',');
  return data;
}

std::vector<std::string> fragments_asked(const Rig& rig) {
  std::vector<std::string> asked;
  for (const std::string& data : rig.sent(kReadDocument)) asked.push_back(fragment_id(rig.datecs, data));
  return asked;
}

// The lines between <RQ V="1"> and </RQ>.
std::vector<std::string> document_lines(const JournalWindowLogic& w) {
  if (w.journal_lines.size() < 3) return {};
  return {w.journal_lines.begin() + 2, w.journal_lines.end() - 1};
}

TEST(JournalWindowLogic, DefaultFieldsFollowTheClock) {
  struct Case {
    device_link::LocalTime now;
    const char* format;
    const char *start_date, *end_date, *end_time;
  };
  const Case cases[] = {
      {{10, 1, 2024, 13, 5, 7}, "H:mm:ss", "01.12.23", "10.01.24", "13:05"},
      {{15, 3, 2024, 9, 5, 7}, "H:mm:ss", "01.02.24", "15.03.24", "09:05"},
      {{15, 3, 2024, 9, 5, 7}, "HH:mm:ss", "01.02.24", "15.03.24", "09:05"},
      {{1, 12, 2009, 21, 0, 0}, "h:mm:ss tt", "01.11.09", "01.12.09", "09:00"},
  };
  for (const Case& c : cases) {
    Rig rig(true);
    rig.clock.local = c.now;
    rig.window.SetDefaultFields(c.format);
    EXPECT_EQ(rig.window.fields.start_date, c.start_date) << c.end_date;
    EXPECT_EQ(rig.window.fields.end_date, c.end_date);
    EXPECT_EQ(rig.window.fields.start_time, "00:00");
    EXPECT_EQ(rig.window.fields.end_time, c.end_time) << c.format;
    EXPECT_EQ(rig.window.document_kind, render::DocumentKind::Both);
  }
}

TEST(JournalWindowLogic, NumberRangeIsCheckedBeforeAnythingIsSent) {
  struct Case {
    const char *first, *last;
    std::vector<std::string> messages;
    std::vector<std::string> list;  // rendered lines afterwards, "old" standing before
    std::size_t documents_asked;
  };
  const Case cases[] = {
      {"0", "1", {win("Началный номер должен быть >0!")}, {"old"}, 0},
      {"5", "4", {win("Конечный номер должен быть не меньше начального!")}, {"old"}, 0},
      {"-3", "-5", {win("Началный номер должен быть >0!")}, {"old"}, 0},
      {"abc", "1", {}, {"old", kFailure1, kFailure2}, 0},
      {"1", "", {}, {"old", kFailure1, kFailure2}, 0},
  };
  for (const Case& c : cases) {
    Rig rig(true);
    rig.serve_journal(sim::sample_journal_text());
    rig.window.rendered_lines = {"old"};
    rig.window.fields.first_number = c.first;
    rig.window.fields.last_number = c.last;
    const auto result = rig.window.RetrieveByNumbers();
    EXPECT_EQ(rig.dialogs.messages, c.messages) << c.first;
    EXPECT_EQ(rig.window.rendered_lines, c.list) << c.first;
    EXPECT_TRUE(rig.requests.empty()) << c.first;
    EXPECT_FALSE(std::filesystem::exists(rig.dir.file("temp.xml"))) << c.first;
    EXPECT_FALSE(result.complete());
    EXPECT_TRUE(rig.window.flags.retrieval_open);
    EXPECT_FALSE(rig.attention.shown);
  }
  // One document asked for when first = last.
  Rig rig(false);
  rig.serve_journal(sim::sample_journal_text());
  rig.window.document_kind = render::DocumentKind::Receipts;
  const auto result = rig.window.RetrieveByNumbers();
  EXPECT_TRUE(result.complete());
  EXPECT_EQ(fragments_asked(rig).front(), "1,0");
  EXPECT_EQ(fragments_asked(rig).back(), "1," + std::to_string(fragments_asked(rig).size() - 1));
}

TEST(JournalWindowLogic, FragmentsAreJoinedUntilTheRegisterEndsTheDocument) {
  const std::string abc = "QUJD", def = "REVG", ghi = "R0hJ";
  struct Case {
    const char* what;
    bool datecs;
    int first, last;
    std::map<std::string, Reply> script;  // "number,fragment" -> reply; others: the end
    std::vector<std::string> lines;
    std::vector<std::string> asked;
  };
  const Reply end{"0000", {"0", ""}};
  const Case cases[] = {
      {"three fragments, datecs", true, 1, 1, {{"1,0", {"", {"1", abc}}}, {"1,1", {"", {"7", def}}}, {"1,2", {"", {"1", ghi}}}},
       {"ABCDEFGHI"}, {"1,0", "1,1", "1,2", "1,3"}},
      {"three fragments, quendar", false, 1, 1, {{"1,0", {"0000", {"1", abc}}}, {"1,1", {"0000", {"1", def}}}, {"1,2", {"0000", {"1", ghi}}}},
       {"ABCDEFGHI"}, {"1,0", "1,1", "1,2", "1,3"}},
      {"-1 ends a datecs document", true, 1, 1, {{"1,0", {"", {"1", abc}}}, {"1,1", {"", {"-1", def}}}}, {"ABC"}, {"1,0", "1,1"}},
      {"-1 is data on quendar", false, 1, 1, {{"1,0", {"0000", {"-1", abc}}}}, {"ABC"}, {"1,0", "1,1"}},
      {"an error code at the first fragment ends the retrieval", false, 1, 2,
       {{"1,0", {"0001", {"1", abc}}}, {"2,0", {"0000", {"1", "QUI="}}}}, {}, {"1,0"}},
      {"one field ends it", false, 1, 1, {{"1,0", {"0000", {"1", abc}}}, {"1,1", {"0000", {"0"}}}}, {"ABC"}, {"1,0", "1,1"}},
      {"a damaged reply of many fields leaves the document out, asked once more", true, 1, 2,
       {{"1,0", {"", {"1", abc}}}, {"1,1", {"", {"1", "2", "3"}}}, {"2,0", {"", {"1", "QUI="}}}}, {"AB"},
       {"1,0", "1,1", "1,0", "1,1", "2,0", "2,1"}},
      {"an empty document adds no line", true, 1, 2, {{"2,0", {"", {"1", "QQ"}}}}, {"A"}, {"1,0", "2,0", "2,1"}},
      {"the line ends at a zero byte", true, 1, 1, {{"1,0", {"", {"1", retrieval::base64_encode(std::string("AB\0CD", 5))}}}},
       {"AB"}, {"1,0", "1,1"}},
  };
  for (const Case& c : cases) {
    Rig rig(c.datecs);
    rig.script([&](const Request& r) {
      const auto it = c.script.find(fragment_id(c.datecs, r.data));
      return it == c.script.end() ? end : it->second;
    });
    rig.window.document_kind = render::DocumentKind::Receipts;
    rig.window.fields.first_number = std::to_string(c.first);
    rig.window.fields.last_number = std::to_string(c.last);
    rig.window.RetrieveByNumbers();
    EXPECT_EQ(document_lines(rig.window), c.lines) << c.what;
    EXPECT_EQ(fragments_asked(rig), c.asked) << c.what;
  }
}

// Every number from first to last has one fragment "QUJD" (ABC).
Reply one_fragment_each(bool datecs, const Request& r) {
  const std::string id = fragment_id(datecs, r.data);
  return id.ends_with(",0") ? Reply{"0000", {"1", "QUJD"}} : Reply{"0000", {"0", ""}};
}

TEST(JournalWindowLogic, ProgressIsShownAfterEachDocumentAndNeverReaches100) {
  for (const bool active : {true, false}) {
    Rig rig(false);
    rig.script([](const Request& r) { return one_fragment_each(false, r); });
    rig.attention.active = active;
    rig.window.fields.first_number = "10";
    rig.window.fields.last_number = "13";
    rig.window.RetrieveByNumbers();
    const std::vector<std::string> expected = {"0.00%     10", "25.00%     11", "50.00%     12", "75.00%     13"};
    EXPECT_EQ(rig.attention.progress, active ? expected : std::vector<std::string>{});
    EXPECT_EQ(rig.dialogs.pending_processed, 4);
    EXPECT_EQ(rig.attention.caption, win("ВНИМАНИЕ!!!!"));
    EXPECT_EQ(rig.attention.activity, win("ИДЁТ ЗАГРУЗКА ДАННЫХ...."));
  }
}

TEST(JournalWindowLogic, AStopFromTheUserEndsTheRetrievalAfterTheCurrentDocument) {
  for (const bool datecs : {true, false}) {
    Rig rig(datecs);
    rig.script([datecs](const Request& r) { return one_fragment_each(datecs, r); });
    rig.window.fields.first_number = "1";
    rig.window.fields.last_number = "9";
    // The click arrives while the window processes its messages before document 3.
    rig.dialogs.on_pending = [&] {
      if (rig.dialogs.pending_processed == 3) rig.window.RequestStop();
    };
    const auto result = rig.window.RetrieveByNumbers();
    EXPECT_EQ(document_lines(rig.window), (std::vector<std::string>{"ABC", "ABC"})) << datecs;
    EXPECT_TRUE(result.assembly.stopped);
    EXPECT_TRUE(result.assembly.saved);
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(result.assembly.not_asked, (std::pair<std::int64_t, std::int64_t>{3, 9}));
    EXPECT_EQ(result.assembly.numbers_asked, 2);
    EXPECT_EQ(result.assembly.documents_kept, 2);
    // The stop is spent: the next retrieval runs whole.
    rig.dialogs.on_pending = nullptr;
    EXPECT_TRUE(rig.window.RetrieveByNumbers().complete());
    EXPECT_EQ(document_lines(rig.window).size(), 9u);
  }
}

TEST(JournalWindowLogic, ARegisterErrorAtAFirstFragmentStopsTheRetrievalAndKeepsWhatCameBefore) {
  struct Case {
    bool datecs;
    std::string refused;  // the number refused
    Reply refusal;
    std::string error;                  // what the retrieval reports
    std::vector<std::string> messages;  // what the user was shown
    std::vector<std::string> asked;
    std::size_t kept;
  };
  const std::string syntax = win("Синтаксическая ошибка");
  const std::string password = win("РРО вернул ошибку: 0006 Неверный пароль доступа!");
  const std::vector<std::string> three = {"1,0", "1,1", "2,0", "2,1", "3,0"};
  const Case cases[] = {
      {false, "3", {"0006", {}}, password, {password}, three, 2},
      {true, "3", {"", {"1", "QUJD"}, 0x81}, syntax, {syntax}, three, 2},
      {false, "1", {"0006", {}}, password, {password}, {"1,0"}, 0},
  };
  for (const Case& c : cases) {
    Rig rig(c.datecs);
    rig.script([&](const Request& r) {
      return fragment_id(c.datecs, r.data).starts_with(c.refused + ",") ? c.refusal : one_fragment_each(c.datecs, r);
    });
    testing_support::write_file(rig.dir.file("temp.xml"), "the journal of yesterday");
    rig.window.fields.first_number = "1";
    rig.window.fields.last_number = "5";
    const auto result = rig.window.RetrieveByNumbers();
    EXPECT_EQ(result.outcome, Outcome::Shown) << c.datecs;
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(result.assembly.register_error, c.error);
    EXPECT_EQ(rig.dialogs.messages, c.messages);
    EXPECT_EQ(result.assembly.not_asked, (std::pair<std::int64_t, std::int64_t>{std::stoi(c.refused) + 1, 5}));
    EXPECT_EQ(fragments_asked(rig), c.asked);
    EXPECT_EQ(document_lines(rig.window), std::vector<std::string>(c.kept, "ABC"));
    // What came is saved; a refusal that left nothing keeps the journal there was.
    const std::string temp_xml = read_file(rig.dir.file("temp.xml"));
    if (c.kept == 0)
      EXPECT_EQ(temp_xml, "the journal of yesterday");
    else
      EXPECT_NE(temp_xml.find("ABC\r\nABC\r\n</RQ>"), std::string::npos);
  }
}

TEST(JournalWindowLogic, ADocumentCutShortIsAskedAgainFromItsFirstFragment) {
  struct Case {
    int retries;
    int silent_times;  // how often the end of document 2 goes unanswered
    std::vector<std::string> lines;
    std::vector<std::int32_t> incomplete;
    std::vector<std::string> asked;
  };
  const Case cases[] = {
      {0, 1, {"ABC", "ABC"}, {2}, {"1,0", "1,1", "2,0", "2,1", "3,0", "3,1"}},
      {1, 1, {"ABC", "ABC", "ABC"}, {}, {"1,0", "1,1", "2,0", "2,1", "2,0", "2,1", "3,0", "3,1"}},
      {1, 2, {"ABC", "ABC"}, {2}, {"1,0", "1,1", "2,0", "2,1", "2,0", "2,1", "3,0", "3,1"}},
  };
  for (const Case& c : cases) {
    Rig rig(false);
    int silent = c.silent_times;
    rig.script([](const Request& r) { return one_fragment_each(false, r); });
    const auto script = rig.respond;
    rig.respond = [&](const Request& r) {
      if (fragment_id(false, r.data) == "2,1" && silent-- > 0) return std::string();
      return script(r);
    };
    rig.window.set_retries(c.retries);
    rig.window.fields.first_number = "1";
    rig.window.fields.last_number = "3";
    const auto result = rig.window.RetrieveByNumbers();
    EXPECT_EQ(document_lines(rig.window), c.lines) << c.retries << c.silent_times;
    EXPECT_EQ(result.assembly.incomplete, c.incomplete);
    EXPECT_EQ(fragments_asked(rig), c.asked);
    EXPECT_EQ(result.complete(), c.incomplete.empty());
  }
}

TEST(JournalWindowLogic, AnAbortEndsTheRetrievalAtOnceAndNamesTheNumbersNotAsked) {
  for (const bool datecs : {true, false}) {
    Rig rig(datecs);
    rig.script([datecs](const Request& r) { return one_fragment_each(datecs, r); });
    const auto script = rig.respond;
    // The second signal arrives while document 3's end is awaited.
    rig.respond = [&](const Request& r) {
      if (fragment_id(datecs, r.data) != "3,1") return script(r);
      device_link::request_abort();
      return std::string();
    };
    rig.window.fields.first_number = "1";
    rig.window.fields.last_number = "5";
    const std::int64_t start = rig.clock.now_ms();
    const auto result = rig.window.RetrieveByNumbers();
    device_link::clear_abort();
    EXPECT_LE(rig.clock.now_ms() - start, 1000) << datecs;
    EXPECT_TRUE(result.assembly.stopped);
    EXPECT_TRUE(result.assembly.incomplete.empty());
    EXPECT_EQ(result.assembly.not_asked, (std::pair<std::int64_t, std::int64_t>{3, 5}));
    EXPECT_EQ(document_lines(rig.window), (std::vector<std::string>{"ABC", "ABC"}));
    EXPECT_TRUE(rig.dialogs.questions.empty());
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_TRUE(result.assembly.saved);
  }
}

TEST(JournalWindowLogic, EveryDocumentHeadNamesTheGivenOrganisation) {
  struct Case {
    render::Organisation organisation;
    std::string name_line, city_line;
  };
  const std::string fixed_name = win("          ДП \"Компанія OBRIM\""), fixed_city = win("                м.Київ");
  const std::string long_name(40, 'X');
  const Case cases[] = {
      {{}, fixed_name, fixed_city},
      {{win("ТОВ \"Світанок\""), win("м.Львів")}, win("            ТОВ \"Світанок\""), win("                м.Львів")},
      {{"", win("м.Суми")}, fixed_name, win("                м.Суми")},
      {{long_name, ""}, long_name, fixed_city},
  };
  for (const Case& c : cases) {
    Rig rig(false);
    rig.serve_journal(sim::sample_journal_text());
    rig.window.set_organisation(c.organisation);
    rig.window.document_kind = render::DocumentKind::Both;
    rig.window.fields.last_number = "40";
    rig.window.RetrieveByNumbers();
    render::LineList from_file;
    retrieval::RenderJournalText(read_file(rig.dir.file("temp.xml")), render::DocumentKind::Both, from_file,
                                 c.organisation);
    const render::LineList shown(rig.window.rendered_lines.begin(), rig.window.rendered_lines.end());
    for (const render::LineList& lines : {shown, from_file}) {
      std::size_t heads = 0, names = 0;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].starts_with(win("     ЗН "))) ++heads;
        if (lines[i] != c.name_line) continue;
        ++names;
        EXPECT_EQ(lines.at(i + 1), c.city_line) << c.organisation.name;
      }
      EXPECT_GT(heads, 1u);
      EXPECT_EQ(names, heads) << c.organisation.name;
    }
  }
}

TEST(JournalWindowLogic, DateSpansAreSentAsDdMmYyAndHhMm) {
  struct Case {
    const char *start, *start_time, *end, *end_time;
    bool datecs;
    bool fetch;            // "Получить"; otherwise "Вернуть номера"
    const char* sent;      // nullptr: nothing is sent
    std::vector<std::string> messages;
  };
  const std::string out_of_order = win("Конечная дата должна быть не меньше начальной!");
  const Case cases[] = {
      {"01.05.24", "00:00", "31.05.24", "23:59", true, true, "010524,0000,310524,2359,0", {}},
      {"01.05.24", "00:00", "31.05.24", "23:59", false, true, "271828;010524;0000;310524;2359;0;", {}},
      {"02.05.24", "00:00", "01.05.24", "23:59", true, true, nullptr, {out_of_order}},
      {"02.05.24", "00:00", "01.05.24", "23:59", true, false, "020524,0000,010524,2359,0", {}},
      {"01.05.24", "10:00", "01.05.24", "09:00", false, true, "271828;010524;1000;010524;0900;0;", {}},
      {"31.12.23", " 7:05", "01.01.24", "23:59", true, true, "311223,0705,010124,2359,0", {}},
  };
  for (const Case& c : cases) {
    Rig rig(c.datecs);
    rig.script([](const Request&) { return Reply{"0000", {"0"}}; });  // no numbers for the span
    rig.window.fields.start_date = c.start;
    rig.window.fields.start_time = c.start_time;
    rig.window.fields.end_date = c.end;
    rig.window.fields.end_time = c.end_time;
    if (c.fetch)
      rig.window.RetrieveByDates();
    else
      rig.window.FillNumbersFromDates();
    const auto sent = rig.sent(kFindDocumentsByDate);
    EXPECT_EQ(sent, c.sent ? std::vector<std::string>{c.sent} : std::vector<std::string>{}) << c.start;
    EXPECT_EQ(rig.dialogs.messages, c.messages) << c.start;
  }
}

TEST(JournalWindowLogic, ADateSpanFetchesTheRegistersNumbersAsDocumentNumbers) {
  Rig rig(false);
  rig.script([](const Request& r) {
    if (r.command == kFindDocumentsByDate) return Reply{"0000", {"120", "135"}};
    return Reply{"0000", {"0"}};
  });
  rig.window.document_kind = render::DocumentKind::ZReports;
  rig.window.fields.start_date = rig.window.fields.end_date = "01.05.24";
  rig.window.fields.start_time = rig.window.fields.end_time = "00:00";
  rig.window.RetrieveByDates();
  const auto asked = rig.sent(kReadDocument);
  ASSERT_EQ(asked.size(), 16u);
  EXPECT_EQ(asked.front(), "271828;1;120;0;");
  EXPECT_EQ(asked.back(), "271828;1;135;0;");
}

TEST(JournalWindowLogic, NoNumbersForTheDates) {
  struct Case {
    bool datecs;
    Reply reply;
    std::vector<std::string> messages;  // under "Вернуть номера"
    std::string line;                   // under "Получить"
  };
  const Case cases[] = {
      {false, {"0601", {}}, {"Error|" + win("РРО вернул ошибку:0601")}, win("РРО вернул ошибку:  0601 !")},
      {false, {"0000", {"7"}}, {}, win("РРО вернул ошибку:  0000 !")},
      {true, {"", {"7"}}, {}, win("РРО вернул ошибку:   !")},
  };
  for (const Case& c : cases) {
    Rig rig(c.datecs);
    rig.script([&](const Request&) { return c.reply; });
    rig.window.SetDefaultFields();
    rig.window.fields.first_number = rig.window.fields.last_number = "77";
    EXPECT_FALSE(rig.window.FillNumbersFromDates());
    EXPECT_EQ(rig.dialogs.messages, c.messages);
    EXPECT_EQ(rig.window.fields.first_number, "1");
    EXPECT_EQ(rig.window.fields.last_number, "1");
    EXPECT_EQ(rig.window.journal.receipt_no_max, 1);

    rig.dialogs.messages.clear();
    rig.window.rendered_lines = {"old"};
    const auto result = rig.window.RetrieveByDates();
    EXPECT_EQ(result.outcome, Outcome::NoRange);
    EXPECT_EQ(rig.window.rendered_lines, std::vector<std::string>{c.line});
    EXPECT_TRUE(rig.sent(kReadDocument).empty());
  }
}

TEST(JournalWindowLogic, TheLastDocumentNumberIsTheEndOfTheWidestDateSpan) {
  struct Case {
    bool datecs;
    std::optional<Reply> reply;  // nothing: the simulated register with its sample journal
    std::optional<std::int64_t> last;
    std::vector<std::string> messages;
  };
  const auto documents = sim::JournalIndex::from_text(sim::sample_journal_text()).documents();
  const std::int64_t sample_last = documents.back().number;
  const Case cases[] = {
      {true, std::nullopt, sample_last, {}},
      {false, std::nullopt, sample_last, {}},
      {false, Reply{"0000", {"1", "33"}}, 33, {}},
      {false, Reply{"0006", {}}, std::nullopt, {"Error|" + win("РРО вернул ошибку:0006")}},
      {true, Reply{"", {"1", "33"}, 0x81}, std::nullopt, {win("Синтаксическая ошибка")}},
      {true, Reply{"", {"33"}}, std::nullopt, {}},
  };
  for (const Case& c : cases) {
    Rig rig(c.datecs);
    if (c.reply)
      rig.script([&](const Request&) { return *c.reply; });
    else
      rig.serve_journal(sim::sample_journal_text());
    EXPECT_EQ(rig.window.FindLastDocumentNumber(), c.last) << c.datecs;
    EXPECT_EQ(rig.dialogs.messages, c.messages);
    EXPECT_EQ(rig.sent(kFindDocumentsByDate),
              std::vector<std::string>{c.datecs ? "010100,0000,311299,2359,0" : "271828;010100;0000;311299;2359;0;"});
  }
}

TEST(JournalWindowLogic, BlankDateFieldsAreFailures) {
  Rig rig(true);
  rig.script([](const Request&) { return Reply{"", {"1", "2"}}; });
  rig.window.SetDefaultFields();
  rig.window.fields.start_time = "  :  ";
  rig.window.rendered_lines = {"old"};
  EXPECT_EQ(rig.window.RetrieveByDates().outcome, Outcome::Failed);
  EXPECT_EQ(rig.window.rendered_lines, (std::vector<std::string>{"old", kFailure1, kFailure2}));
  rig.window.fields.first_number = "5";
  EXPECT_THROW(rig.window.FillNumbersFromDates(), journal::ConversionError);
  EXPECT_EQ(rig.window.fields.first_number, "5");
  EXPECT_TRUE(rig.requests.empty());
}

TEST(JournalWindowLogic, SavedFileHoldsTheListWithCrLf) {
  struct Case {
    std::vector<std::string> lines;
    std::string bytes;
  };
  const Case cases[] = {
      {{}, ""},
      {{"a", "", win("  Сума  ")}, "a\r\n\r\n" + win("  Сума  ") + "\r\n"},
  };
  for (const Case& c : cases) {
    Rig rig(true);
    rig.window.rendered_lines = c.lines;
    rig.dialogs.save_path = rig.dir.file("out.txt");
    rig.window.SaveListAs();
    EXPECT_EQ(rig.dialogs.questions, std::vector<std::string>{"save|*.txt|*.txt|txt"});
    EXPECT_EQ(read_file(rig.dir.file("out.txt")), c.bytes);
    EXPECT_TRUE(std::filesystem::exists(rig.dir.file("out.txt")));
  }
  Rig rig(true);
  rig.window.rendered_lines = {"x"};
  rig.window.SaveListAs();  // cancelled
  EXPECT_TRUE(std::filesystem::is_empty(rig.dir.path()));
  EXPECT_FALSE(rig.window.SaveList(rig.dir.file("no-such-dir/out.txt")));
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].rfind(win("Невозможно записать файл "), 0), 0u);
}

TEST(JournalWindowLogic, FieldsFlagsAndClosing) {
  Rig rig(true);
  rig.window.document_kind = render::DocumentKind::ZReports;
  rig.window.FillNumbersForKind();
  EXPECT_EQ(rig.window.fields.first_number + " " + rig.window.fields.last_number, "0 0");
  rig.window.flags.retrieval_open = true;
  rig.window.OnClosed();
  EXPECT_TRUE(rig.window.flags.retrieval_open);
  rig.window.Close();
  EXPECT_FALSE(rig.window.flags.retrieval_open);
}

TEST(JournalWindowLogic, PrintingSendsTheNumbersOrTheirDocuments) {
  struct Case {
    const char* what;
    bool datecs;
    render::DocumentKind kind;
    std::map<int, int> by_z_number;
    const char *first, *last;
    std::vector<bool> answers;
    const char* sent;  // nullptr: nothing
  };
  constexpr auto kReceipts = render::DocumentKind::Receipts;
  constexpr auto kZReports = render::DocumentKind::ZReports;
  const Case cases[] = {
      {"answered No", true, kReceipts, {}, "3", "7", {false}, nullptr},
      {"receipts, datecs", true, kReceipts, {}, "3", "7", {true}, "3,7"},
      {"receipts, quendar", false, kReceipts, {}, "3", "7", {true}, "271828;3;7;"},
      {"Z-reports translated", true, kZReports, {{12, 140}, {14, 163}}, "12", "14", {true}, "140,163"},
      {"Z-reports without a map", true, kZReports, {}, "12", "14", {true}, "12,14"},
      {"a Z-report the map lacks", false, kZReports, {{12, 140}}, "12", "14", {true}, "271828;140;0;"},
      {"no check of the numbers", true, kReceipts, {}, "9", "-2", {true}, "9,-2"},
  };
  for (const Case& c : cases) {
    Rig rig(c.datecs);
    rig.script([](const Request&) { return Reply{"0000", {}}; });
    rig.window.document_kind = c.kind;
    for (const auto& [z, document] : c.by_z_number) rig.window.document_by_z_number.set(z, document);
    rig.window.fields.first_number = c.first;
    rig.window.fields.last_number = c.last;
    rig.dialogs.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(rig.window.PrintOnRegister(), c.sent != nullptr) << c.what;
    EXPECT_EQ(rig.dialogs.questions, std::vector<std::string>{win("Продолжить?|Печать требует затрат бумажной ленты")});
    EXPECT_EQ(rig.sent(kPrintDocuments), c.sent ? std::vector<std::string>{c.sent} : std::vector<std::string>{})
        << c.what;
  }
  // A refused print is reported on the Quendar variant too.
  Rig rig(false);
  rig.script([](const Request&) { return Reply{"0101", {}}; });
  rig.dialogs.answers = {true};
  EXPECT_FALSE(rig.window.PrintOnRegister());
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Error|" + win("РРО вернул ошибку:0101")});
}

}  // namespace
