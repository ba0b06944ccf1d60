// SPDX-License-Identifier: GPL-3.0-or-later
// Which language the desktop program speaks: the user's choice in fpinit.ini, else the
// system's, Ukrainian only for Ukrainian.
#include "app/language.hpp"

#include <gtest/gtest.h>

#include "app/config_file.hpp"
#include "support/temp_dir.hpp"

namespace {

using app::Language;
using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

TEST(Language, TheSystemsUkrainianIsUkrainianAnythingElseRussian) {
  struct Case {
    const char* system;
    Language expected;
  };
  const Case cases[] = {
      {"uk-UA", Language::Ukrainian}, {"uk", Language::Ukrainian},       {"uk_UA.UTF-8", Language::Ukrainian},
      {"UK_ua", Language::Ukrainian}, {"uk@latin", Language::Ukrainian}, {"ru-RU", Language::Russian},
      {"en-US", Language::Russian},   {"C", Language::Russian},          {"", Language::Russian},
      {"ukr", Language::Russian},     {"be-BY", Language::Russian},
  };
  for (const Case& c : cases) EXPECT_EQ(app::language_of_system(c.system), c.expected) << c.system;
}

TEST(Language, TheChoiceIsKeptInItsOwnKeyBesideTheOtherSettings) {
  TempDir dir;
  const std::string path = dir.file("fpinit.ini");
  write_file(path, "[Communication]\r\nPort=COM3\r\n[Fiscal Printer]\r\nProtocol=quendar\r\n");
  EXPECT_EQ(app::stored_language(path), std::nullopt);
  ASSERT_EQ(app::store_language(path, Language::Ukrainian), app::ProfileWrite::Written);
  EXPECT_EQ(read_file(path),
            "[Communication]\r\nPort=COM3\r\n[Fiscal Printer]\r\nProtocol=quendar\r\n[Interface]\r\nLanguage=uk\r\n");
  EXPECT_EQ(app::stored_language(path), Language::Ukrainian);
  ASSERT_EQ(app::store_language(path, Language::Russian), app::ProfileWrite::Written);
  EXPECT_EQ(app::stored_language(path), Language::Russian);
  for (const char* unknown : {"en", "", "ukrainian"}) {
    write_file(path, std::string("[Interface]\r\nLanguage=") + unknown + "\r\n");
    EXPECT_EQ(app::stored_language(path), std::nullopt) << unknown;
  }
  write_file(path, "[interface]\r\nlanguage=UK\r\n");
  EXPECT_EQ(app::stored_language(path), Language::Ukrainian);
}

}  // namespace
