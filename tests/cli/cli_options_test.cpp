// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.hpp"
#include "cli/retrieval_commands.hpp"

#include <gtest/gtest.h>

namespace {

using namespace cli;

TEST(CommandLine, NumbersInDecimalAndHexadecimal) {
  const std::pair<std::string, std::optional<long>> cases[] = {
      {"90", 90}, {"0x5A", 0x5A}, {"0XeE", 0xEE}, {"0x", std::nullopt}, {"5A", std::nullopt},
      {"-1", std::nullopt}, {"", std::nullopt}, {"12 ", std::nullopt}, {"99999999999999999999", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(parse_number(text), value) << text;
}

TEST(CommandLine, OptionsDefaultsAndErrors) {
  const ParseResult defaults = parse_command_line({"raw", "0x5A"});
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->speed, 9600);
  EXPECT_EQ(defaults.options->protocol, Protocol::Datecs);
  EXPECT_EQ(defaults.options->password, "271828");
  EXPECT_EQ(defaults.options->reply_count, 1);

  const ParseResult full = parse_command_line(
      {"--port", "COM3", "--speed", "19200", "--protocol", "quendar", "--reply", "0", "--encoding", "cp1251",
       "raw", "0x80", "--not-an-option-here"});
  ASSERT_TRUE(full.options);
  EXPECT_EQ(full.options->port, "COM3");
  EXPECT_EQ(full.options->protocol, Protocol::Quendar);
  EXPECT_EQ(full.options->reply_count, 0);
  EXPECT_EQ(full.options->encoding, Encoding::Cp1251);
  EXPECT_EQ(full.options->arguments, (std::vector<std::string>{"0x80", "--not-an-option-here"}));

  // Except after raw, global options may stand among the command's arguments.
  const ParseResult mixed = parse_command_line({"print", "3", "--yes", "7", "--port", "COM2", "--kind", "z"});
  ASSERT_TRUE(mixed.options);
  EXPECT_TRUE(mixed.options->yes);
  EXPECT_EQ(mixed.options->port, "COM2");
  EXPECT_EQ(mixed.options->arguments, (std::vector<std::string>{"3", "7", "--kind", "z"}));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--protocol", "modbus", "raw"}, {"--speed", "fast", "raw"}, {"--port"}, {"--colour", "red", "raw"},
           {"--encoding", "koi8", "raw"}, {"--on-timeout", "wait", "raw"}, {"--retries", "-1", "raw"},
           {"--protocol=", "raw"}})
    EXPECT_FALSE(parse_command_line(bad).options) << bad[0];
}

TEST(CommandLine, ValuesInAnyCaseAndAfterAnEqualsSign) {
  struct Case {
    std::vector<std::string> args;
    Protocol protocol;
    Encoding encoding;
    bool continue_after_timeout;
    int retries;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {{"--protocol=Quendar", "--encoding=UTF-8", "fetch", "1", "2"}, Protocol::Quendar, Encoding::Utf8, false, 1, {"1", "2"}},
      {{"--protocol", "DATECS", "--encoding", "CP1251", "fetch", "--on-timeout=Continue"}, Protocol::Datecs,
       Encoding::Cp1251, true, 1, {}},
      // retry was the first name of continue.
      {{"fetch", "--on-timeout", "retry", "--retries=3", "--kind=Z", "1", "end"}, Protocol::Datecs, Encoding::Utf8,
       true, 3, {"--kind=Z", "1", "end"}},
      {{"--on-timeout", "CANCEL", "--retries", "0", "fetch"}, Protocol::Datecs, Encoding::Utf8, false, 0, {}},
  };
  for (const Case& c : cases) {
    const ParseResult parsed = parse_command_line(c.args);
    ASSERT_TRUE(parsed.options) << c.args[0] << ": " << parsed.error;
    EXPECT_EQ(parsed.options->protocol, c.protocol) << c.args[0];
    EXPECT_EQ(parsed.options->encoding, c.encoding) << c.args[0];
    EXPECT_EQ(parsed.options->continue_after_timeout, c.continue_after_timeout) << c.args[0];
    EXPECT_EQ(parsed.options->retries, c.retries) << c.args[0];
    EXPECT_EQ(parsed.options->arguments, c.arguments) << c.args[0];
  }
}

TEST(CommandLine, TypedDatesAndTimesAreTheFieldsTheirMasksAllow) {
  const struct {
    const char* typed;
    bool date;
    const char* field;  // nullptr: refused
  } cases[] = {
      {"14.05.24", true, "14.05.24"}, {"1.05.24", true, nullptr},  {"14-05-24", true, nullptr},
      {"14.05.2a", true, nullptr},    {"14.05.245", true, nullptr}, {"7:05", false, "07:05"},
      {"23:59", false, "23:59"},      {"7:5", false, nullptr},      {"07.05", false, nullptr},
      {"", false, nullptr},
      // Real calendar dates and clock times only.
      {"31.02.24", true, nullptr},    {"29.02.23", true, nullptr},  {"29.02.24", true, "29.02.24"},
      {"29.02.00", true, "29.02.00"}, {"14.13.24", true, nullptr},  {"00.05.24", true, nullptr},
      {"31.04.24", true, nullptr},    {"31.12.99", true, "31.12.99"}, {"25:00", false, nullptr},
      {"24:00", false, nullptr},      {"12:60", false, nullptr},    {"00:00", false, "00:00"},
  };
  for (const auto& c : cases) {
    const auto field = c.date ? date_field_text(c.typed) : time_field_text(c.typed);
    EXPECT_EQ(field.value_or("refused"), c.field ? c.field : "refused") << c.typed;
  }
}

}  // namespace
