// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/command_catalogue.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "text/cp1251.hpp"

using namespace text::literals;

namespace {

TEST(CommandCatalogue, NamesAndFallbacks) {
  const std::string_view unknown = "Неверная команда"_cp1251;
  struct Case { bool quendar; int code; std::string_view name; };
  const Case cases[] = {
      {true, 0x80, "Команда 80h: Диагностическая информация"_cp1251},
      {true, 0xEE, "Команда EEh: Вывод интервала документов в электронном виде по дате"_cp1251},
      {true, 0x20, "Команда 20h: Установка даты и времени"_cp1251},
      {true, 0x31, unknown}, {true, 0xED, unknown}, {true, 0xEF, unknown}, {true, 0xFF, unknown},
      {true, 0x1F, unknown}, {true, -1, unknown},
      {false, 0x5A, "Запрос диагностической информации"_cp1251},
      {false, 0x21, "Очистка дисплея"_cp1251},
      {false, 0x77, "Обнулить операторские пароли"_cp1251},
      {false, 0x20, unknown}, {false, 0x78, unknown}, {false, 0x22, unknown},
      {false, 0xA7, unknown}, {false, 0xEB, unknown}, {false, 0xEE, unknown},
  };
  for (const Case& c : cases) {
    const std::string_view name = c.quendar ? quendar::command_name(c.code) : datecs::command_name(c.code);
    EXPECT_EQ(name, c.name) << (c.quendar ? "quendar " : "datecs ") << std::hex << c.code;
    EXPECT_EQ(name.data()[name.size()], '\0');
  }
}

TEST(CommandCatalogue, EveryQuendarNameCarriesItsOwnCode) {
  int named = 0;
  for (int code = 0x20; code <= 0xEE; ++code) {
    const std::string_view name = quendar::command_name(code);
    if (name == "Неверная команда"_cp1251) {
      EXPECT_TRUE(quendar::command_parameters(code).empty()) << std::hex << code;
      continue;
    }
    ++named;
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%02Xh: ", code);
    EXPECT_EQ(name.substr(0, 8), "Команда "_cp1251);
    EXPECT_EQ(name.substr(8, 5), prefix) << std::hex << code;
    EXPECT_FALSE(quendar::command_parameters(code).empty()) << std::hex << code;
  }
  EXPECT_EQ(named, 52);
  EXPECT_EQ(quendar::command_parameters(0xA7), "<Тип документа>;<Номер чека/отчета>;<Номер фрагмента>;"_cp1251);
}

}  // namespace
