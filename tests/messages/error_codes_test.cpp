// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/error_codes.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "messages/status_word.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace text::literals;
using messages::ReplyAccepted;

datecs::RetData with_code(const char* code, std::uint32_t status = 0) {
  datecs::RetData r;
  std::strncpy(r.ErrorField, code, sizeof r.ErrorField - 1);
  r.Status = status;
  return r;
}

TEST(ReplyAccepted, CodesAndTheirTexts) {
  const std::string hw = std::string("Ошибка оборудования!\n "_cp1251);
  struct Case { const char* code; bool ok; std::string text; };
  const Case cases[] = {
      {"0000", true, ""},
      {"0001", false, hw + std::string("Неопределенная ошибка оборудования!"_cp1251)},
      {"0101", false, hw + std::string("Ошибка принтера!"_cp1251)},
      {"0C01", false, hw + std::string("Неизвестная ошибка!"_cp1251)},
      {"0006", false, std::string("Неверный пароль доступа!"_cp1251)},
      {"0506", false, std::string("Неверный пароль доступа!"_cp1251)},
      {"0A03", false, std::string("Неправильный формат поля номер 10!"_cp1251)},
      {"0204", false, std::string("Значение поля номер 2 выходит за допустимый диапазон!"_cp1251)},
      {"0009", false, std::string("Не обнулено!Не очищено!"_cp1251)},
      {"00F0", false, std::string("Ошибка форматированной строки!\n Форматированная строка: параметры!"_cp1251)},
      {"0E05", false, std::string("Ошибка фискальной памяти!\n Устанавливаемое время меньше текущего!"_cp1251)},
      {"0100", false, ""},  // group 0 with a detail
      {"0200", false, ""},
      {"00C0", false, ""},  // a group without messages
      {"0002", false, std::string("Нет команды с таким кодом!"_cp1251)},
      {"0008", false, std::string("При выполнении операции \n  обнаружено арифметическое переполнение!"_cp1251)},
      {"0107", false, std::string("Команда не может быть выполнена в данном состоянии регистратора!\nКоманда невыполнима в данном состоянии смены!"_cp1251)},
      {"000a", false, ""},  // lower-case digits are no code the register sends
      {"00", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    std::string text = "stale";
    EXPECT_EQ(ReplyAccepted(with_code(c.code), text), c.ok) << c.code;
    EXPECT_EQ(text, c.text) << c.code;
  }
}

TEST(ReplyAccepted, LinkFailuresNeverPassForAnAnswer) {
  std::string text;
  EXPECT_FALSE(ReplyAccepted(with_code("0000", status::kNoReply), text));
  EXPECT_EQ(text, "Таймаут устройства! Ошибка!"_cp1251);
  EXPECT_FALSE(ReplyAccepted(with_code("0101", status::kNoReply), text));
  EXPECT_EQ(text, "Таймаут устройства! Ошибка!"_cp1251);
  EXPECT_FALSE(ReplyAccepted(with_code("0000", status::kNak), text));
  EXPECT_EQ(text, "Ошибка приема команды"_cp1251);
  EXPECT_FALSE(ReplyAccepted(with_code("0000", status::kChecksumMismatch), text));
  EXPECT_EQ(text, "Ошибка протокола"_cp1251);
}

TEST(ErrorTable, EightyEightEntriesWithGroupStartsAndRunningCodes) {
  const auto errors = messages::Errors();
  ASSERT_EQ(errors.size(), 88u);
  EXPECT_EQ(errors[0].identifier, "rExecOK");
  EXPECT_EQ(errors[0].description, "Без ошибок"_cp1251);
  std::set<std::int32_t> codes;
  for (std::size_t i = 0; i < errors.size(); ++i) {
    EXPECT_TRUE(codes.insert(messages::error_code_at(i)).second) << errors[i].identifier;
    if (i > 0 && errors[i].code != 0) {
      EXPECT_EQ(errors[i].code % 256, 0) << errors[i].identifier;
    }
  }
  const std::pair<std::string_view, std::int32_t> known[] = {
      {"erHW_SD", 0x0109}, {"rErr_FieldValue7", 0x0407}, {"err_TimeFormat", 0x050D},
      {"erTRS_CancelLock", 0x0B11}, {"rErrSIM_LastPublicKeyNotValid", 0xD002}, {"erPrmFormatStr_Position", 0xF004}};
  for (auto [id, code] : known) {
    bool found = false;
    for (std::size_t i = 0; i < errors.size(); ++i)
      if (errors[i].identifier == id) {
        found = true;
        EXPECT_EQ(messages::error_code_at(i), code) << id;
      }
    EXPECT_TRUE(found) << id;
  }
}

}  // namespace
