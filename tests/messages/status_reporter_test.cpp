// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/status_reporter.hpp"

#include <gtest/gtest.h>

#include "messages/status_word.hpp"
#include "support/scripted_dialogs.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace text::literals;
using testing_support::ScriptedDialogs;

struct Reporter {
  messages::ProgramState program;
  messages::RetrievalFlags flags;
  ScriptedDialogs dialogs;
  messages::StatusReporter reporter{program, flags, dialogs};
};

TEST(StatusReporter, ShowsAtMostOneMessageAndKeepsTheResult) {
  struct Case { std::uint32_t word; std::vector<std::string> shown; };
  const Case cases[] = {
      {0, {}},
      {0x00000400, {}},
      {0x00100000 | 0x00010000, {std::string("В фиск. памяти мало места"_cp1251)}},
      {0x00000200 | 0x08000000, {std::string("Нет бумаги"_cp1251)}},
      {status::kNak, {std::string("Ошибка приема команды"_cp1251)}},
      {status::kNoReply, {std::string("Таймаут"_cp1251)}},
  };
  for (const Case& c : cases) {
    Reporter r;
    datecs::RetData result;
    result.Status = c.word;
    result.FieldCount = 8;
    r.reporter.report(result);
    EXPECT_EQ(r.dialogs.messages, c.shown) << std::hex << c.word;
    EXPECT_EQ(r.program.last_datecs_result.Status, c.word);
    EXPECT_EQ(r.program.last_datecs_result.FieldCount, 8);
    EXPECT_TRUE(r.dialogs.questions.empty());
  }
}

TEST(StatusReporter, MissingReplyDuringARetrievalAsksRetryOrCancel) {
  for (bool retry : {true, false}) {
    Reporter r;
    r.flags.retrieval_open = true;
    r.flags.cancelled_at_timeout = retry;  // the answer must overwrite whatever was there
    r.dialogs.answers = {retry};
    datecs::RetData result;
    result.Status = status::kNoReply;
    r.reporter.report(result);
    ASSERT_EQ(r.dialogs.questions.size(), 1u);
    EXPECT_EQ(r.dialogs.questions[0], std::string("Таймаут|Для продолжения нажмите "_cp1251));
    EXPECT_TRUE(r.dialogs.messages.empty());
    EXPECT_EQ(r.flags.cancelled_at_timeout, !retry);
  }
}

TEST(StatusReporter, ExportedCallbackActsOnTheProgramState) {
  ScriptedDialogs dialogs;
  messages::set_program_dialogs(&dialogs);
  datecs::RetData result;
  result.Status = 0x00000002;
  result.Command = 0x5A;
  PrinterResultsx(result);
  EXPECT_EQ(messages::program_state().last_datecs_result.Command, 0x5A);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{std::string("Неверная команда"_cp1251)});
  messages::set_program_dialogs(nullptr);
}

}  // namespace
