// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/raw_command.hpp"
#include "text/cp1251.hpp"

namespace {

using namespace text::literals;

TEST(RawRecord, LinesInOrderWithUpperCaseHex) {
  datecs::RetData r;
  r.Command = 0x5A;
  r.CommandName = "Запрос диагностической информации"_cp1251.data();
  r.Status = 0x00000A00;
  r.FieldCount = 2;
  static char a[] = "ECR", b[] = "";
  r.Fields[0] = a;
  r.Fields[1] = b;
  r.Fields[2] = a;  // beyond the count: not printed
  r.StatusBytes[2] = 0x0A;
  r.ReplyText = "ECR,";
  const std::vector<std::string> lines = cli::format_record(r, "", std::string("\x01\x2F\xAB", 3));
  const std::vector<std::string> expected = {
      "Command: 5A",
      "CommandName: " + std::string("Запрос диагностической информации"_cp1251),
      "Status: 00000A00",
      "ErrorField: ",
      "FieldCount: 2",
      "Field1: ECR",
      "Field2: ",
      "StatusBytes: 00 00 0A 00 00 00",
      "ReplyText: ECR,",
      "SentFrame: ",
      "RawReply: 01 2F AB",
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
