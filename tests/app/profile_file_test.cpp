// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/profile_file.hpp"

#include <gtest/gtest.h>

#include "support/temp_dir.hpp"

namespace {

using namespace app;
using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

const std::string kSample =
    "; settings\r\n"
    "[Communication]\r\n"
    "Port = com3 \r\n"
    "Speed=19200\r\n"
    "\r\n"
    "[Fiscal Printer]\r\n"
    "reply=3x\r\n"
    "Quoted=\"a b\"\r\n"
    "Unknown=keep me\r\n"
    "[LogFile]\r\n"
    "Log=-2\r\n"
    "Bad=abc\r\n"
    "Huge=99999999999\r\n"
    "LogName=" + std::string(400, 'n') + "\r\n";

TEST(ProfileFile, ReadsTextKeys) {
  TempDir dir;
  const std::string path = dir.file("p.ini");
  write_file(path, kSample);
  struct Case { const char* section; const char* key; std::size_t limit; std::string expected; };
  const Case cases[] = {
      {"Communication", "Port", 9, "com3"},
      {"COMMUNICATION", "port", 9, "com3"},
      {"Communication", "Speed", 9, "19200"},
      {"communication", "Missing", 9, "default"},
      {"Nowhere", "Port", 9, "default"},
      {"fiscal printer", "Quoted", 9, "a b"},
      {"LogFile", "LogName", 299, std::string(299, 'n')},
      {"Communication", "Speed", 3, "192"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(read_profile_text(path, c.section, c.key, "default", c.limit), c.expected) << c.section << "/" << c.key;
  EXPECT_EQ(read_profile_text(dir.file("absent.ini"), "A", "B", "fallback", 99), "fallback");
}

TEST(ProfileFile, ReadsIntegersAsAProfileApiDoes) {
  TempDir dir;
  const std::string path = dir.file("p.ini");
  write_file(path, kSample);
  struct Case { const char* section; const char* key; int expected; };
  const Case cases[] = {
      {"Fiscal Printer", "Reply", 3},        // leading digits count
      {"LogFile", "Log", -2},
      {"LogFile", "Bad", 7},                 // no digits: the default
      {"LogFile", "Missing", 7},
      {"LogFile", "Huge", 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(read_profile_integer(path, c.section, c.key, 7), c.expected) << c.key;
}

TEST(ProfileFile, WritingKeepsEveryOtherLine) {
  TempDir dir;
  const std::string path = dir.file("p.ini");
  write_file(path, kSample);
  ASSERT_EQ(write_profile_text(path, "communication", "PORT", "COM4"), ProfileWrite::Written);
  ASSERT_EQ(write_profile_text(path, "Fiscal Printer", "ExtendedTax", "1"), ProfileWrite::Written);
  ASSERT_EQ(write_profile_text(path, "CountryMode", "Country code", "0"), ProfileWrite::Written);
  std::string expected = kSample;
  expected.replace(expected.find("Port = com3 "), 12, "PORT=COM4");
  expected.insert(expected.find("[LogFile]"), "ExtendedTax=1\r\n");
  expected += "[CountryMode]\r\nCountry code=0\r\n";
  EXPECT_EQ(read_file(path), expected);
  EXPECT_EQ(read_profile_text(path, "countrymode", "country code", "", 9), "0");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(ProfileFile, WritingCreatesTheFileAndFollowsItsLineBreaks) {
  TempDir dir;
  const std::string fresh = dir.file("new.ini");
  ASSERT_EQ(write_profile_text(fresh, "S", "K", "v"), ProfileWrite::Written);
  EXPECT_EQ(read_file(fresh), "[S]\r\nK=v\r\n");

  const std::string unix_style = dir.file("lf.ini");
  write_file(unix_style, "[S]\nA=1");
  ASSERT_EQ(write_profile_text(unix_style, "S", "B", "2"), ProfileWrite::Written);
  EXPECT_EQ(read_file(unix_style), "[S]\nA=1\nB=2\n");

  EXPECT_EQ(write_profile_text(dir.file("no/such/dir.ini"), "S", "K", "v"), ProfileWrite::Failed);
}

}  // namespace
