// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/records.hpp"

#include <gtest/gtest.h>

#include <string>

#include "journal/journal_errors.hpp"
#include "journal/number_map.hpp"
#include "journal/time_and_date.hpp"

namespace journal {
namespace {

TEST(Records, InitialValuesTheRendererPrints) {
  const sale_end end;
  EXPECT_EQ(end.TX, "0");
  EXPECT_EQ(end.TS, "0");
  EXPECT_EQ(end.FN, "0");
  EXPECT_FALSE(end.has_tx);
  EXPECT_EQ(end.tx_count, 0);
  EXPECT_EQ(end.NO, 0.0f);
  EXPECT_EQ(tx{}.TX, " ");
  EXPECT_TRUE(fiscal_document{}.is_receipt);
}

TEST(Records, ReadingAMissingPositionAddsAnEmptyEntry) {
  receipt c;
  EXPECT_EQ(c.line_total(), 0);
  EXPECT_EQ(c.next_position, 1);
  EXPECT_EQ(c.sequence[1], (sequence_entry{line_kind::none, 0}));
  EXPECT_EQ(c.sequence.size(), 1u);
  c.p_list[3].NM = "x";
  EXPECT_EQ(c.p_list.size(), 1u);
  EXPECT_EQ(c.p_list[3].TX, "");
}

TEST(Records, CopyingADocumentCopiesEverythingItOwns) {
  fiscal_document original;
  original.receipts[0].p_list[0].NM = "a";
  fiscal_document copy = original;
  copy.receipts[0].p_list[0].NM = "b";
  EXPECT_EQ(original.receipts[0].p_list[0].NM, "a");
}

TEST(Sootv, SetLookupAndClear) {
  number_map map;
  EXPECT_FALSE(map.has_entries());
  EXPECT_EQ(map.lookup(7), 0);  // added, but does not count as set
  EXPECT_FALSE(map.has_entries());
  EXPECT_EQ(map.entries().count(7), 1u);
  map.set(52, 10);
  map.set(52, 11);
  EXPECT_TRUE(map.has_entries());
  EXPECT_EQ(map.lookup(52), 11);
  map.clear();
  EXPECT_FALSE(map.has_entries());
  EXPECT_TRUE(map.entries().empty());
}

TEST(TimeAndDate, TwoDigits) {
  EXPECT_EQ(TwoDigits(0), "00");
  EXPECT_EQ(TwoDigits(9), "09");
  EXPECT_EQ(TwoDigits(12), "12");
  EXPECT_EQ(TwoDigits(123), "123");
}

TEST(TimeAndDate, TimeOfDay) {
  struct Case {
    std::string text;
    int hours, minutes;
    std::string written;
  };
  const Case cases[] = {
      {"08:05", 8, 5, "0805"}, {" 9:30", 9, 30, "0930"}, {"23:59", 23, 59, "2359"},
      {"8:05", 0, 0, "0000"},  // first ":" not third: nothing read
      {"0805", 0, 0, "0000"},  {"", 0, 0, "0000"},  {"12:3", 12, 3, "1203"},
  };
  for (const Case& c : cases) {
    const time_of_day t(c.text);
    EXPECT_EQ(t.hours, c.hours) << c.text;
    EXPECT_EQ(t.minutes, c.minutes) << c.text;
    EXPECT_EQ(t.to_text(), c.written) << c.text;
  }
  for (const std::string text : {"  :  ", "12:", "ab:30", "12:xy"}) {
    EXPECT_THROW(time_of_day{text}, ConversionError) << '"' << text << '"';
  }
}

TEST(TimeAndDate, CalendarDate) {
  struct Case {
    std::string text, six, previous;
  };
  const Case cases[] = {
      {"15.03.24", "150324", "01.02.24"},
      {"10.01.24", "100124", "01.12.23"},
      {"01/05/24", "010524", "01.04.24"},  // separators are not examined
  };
  for (const Case& c : cases) {
    const date_triple d(c.text);
    EXPECT_EQ(d.six_digits(), c.six) << c.text;
    EXPECT_EQ(d.first_of_previous_month(), c.previous) << c.text;
  }
  EXPECT_EQ(date_triple{}.six_digits(), "000000");
  for (const std::string text : {"", "15.03.", "15", "  .03.24", "15.03.2x"}) {
    EXPECT_THROW(date_triple{text}, ConversionError) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace journal
