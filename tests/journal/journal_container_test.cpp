// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_container.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace journal {
namespace {

TEST(Rq, ClearEmptiesDocumentsButKeepsVersionAndRanges) {
  loaded_journal journal;
  journal.V = 1;
  journal.document(0).FN = "x";
  journal.mac(1).NT = 2;
  journal.doc_count = 1;
  journal.note_receipt_no(271);
  journal.note_receipt_no(275);
  journal.clear();
  EXPECT_TRUE(journal.documents.empty());
  EXPECT_TRUE(journal.macs.empty());
  EXPECT_EQ(journal.doc_count, 0);
  EXPECT_EQ(journal.V, 1.0f);
  EXPECT_EQ(journal.receipt_no_min, 271);
  EXPECT_EQ(journal.receipt_no_max, 275);
}

TEST(Rq, NotingNumbersWidensTheRange) {
  struct Case {
    std::vector<int> noted;
    int min, max;
  };
  const Case cases[] = {
      {{}, 0, 0},
      {{275, 271, 280}, 271, 280},
      {{5, 0}, 0, 5},
      {{0, 7}, 7, 7},         // a noted 0 looks like nothing noted
      {{5, 0, 3}, 3, 5},      // ... and the next number replaces it
      {{9, 9, 9}, 9, 9},
  };
  for (const Case& c : cases) {
    loaded_journal journal;
    for (int n : c.noted) {
      journal.note_receipt_no(n);
      journal.note_z_no(n);
    }
    EXPECT_EQ(journal.receipt_no_min, c.min) << testing::PrintToString(c.noted);
    EXPECT_EQ(journal.receipt_no_max, c.max) << testing::PrintToString(c.noted);
    EXPECT_EQ(journal.z_no_min, c.min);
    EXPECT_EQ(journal.z_no_max, c.max);
  }
}

TEST(TypWork, CodesWhereTheTablesDifferFromTheObvious) {
  name_tables names;
  EXPECT_EQ(names.element_code("Z_M"), element::Z_M);
  EXPECT_EQ(names.element_code("TX"), element::TX);
  EXPECT_EQ(names.element_code("IO"), element::IO);
  struct Case {
    std::int32_t element;
    std::string name;
    std::int32_t code;
  };
  const Case cases[] = {
      {element::D, "N", 7},     {element::D, "TR", 0},    {element::S, "SM", 6},
      {element::P, "N", 0},     {element::CP, "NM", 3},   {element::P, "TX", 7},
      {element::O, "SM", 3},    {element::H, "N", 0},     {element::M, "RRN", 5},
      {element::E, "FN", 14},   {element::E, "TS", 13},   {element::TXS, "SMO", 11},
      {element::Z_M, "SMI", 2}, {element::IO, "SMT", 4},  {element::NC, "NO", 1},
      {element::TX, "TXAL", 6}, {element::DAT, "V", 5},   {element::MAC, "NT", 1},
      {element::TX, "TX", 0},   {element::TS, "TS", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(names.attribute_code(c.element, c.name), c.code) << c.element << ' ' << c.name;
  }
}

TEST(TypWork, UnknownNamesGiveZeroAndAreAddedToTheirOwnTable) {
  name_tables names;
  EXPECT_EQ(names.element_code("XYZ"), 0);
  EXPECT_EQ(names.element_table().at("XYZ"), 0);
  EXPECT_EQ(names.element_code("XYZ"), 0);

  EXPECT_EQ(names.attribute_code(element::CP, "XY"), 0);
  EXPECT_EQ(names.attribute_table(element::P)->at("XY"), 0);  // P and CP share one
  EXPECT_EQ(names.attribute_table(element::D)->count("XY"), 0u);
  EXPECT_EQ(names.attribute_table(element::P)->size(), 9u);

  EXPECT_EQ(names.attribute_code(99, "N"), 0);
  EXPECT_EQ(names.attribute_table(99), nullptr);
}

TEST(Control, MAfterAZReportElementIsAZReportTotal) {
  struct Case {
    std::vector<std::string> before;
    std::int32_t expected;
  };
  const Case cases[] = {
      {{}, element::M},          {{"Z"}, element::Z_M},     {{"IO"}, element::Z_M},
      {{"TXS"}, element::Z_M},   {{"NC"}, element::Z_M},    {{"Z", "M"}, element::Z_M},
      {{"P"}, element::M},       {{"C"}, element::M},       {{"M"}, element::M},
      {{"Z", "XYZ"}, element::M},
  };
  for (const Case& c : cases) {
    loader_state state;
    for (const std::string& name : c.before) state.set_element(name);
    state.set_element("M");
    EXPECT_EQ(state.current(), c.expected) << testing::PrintToString(c.before);
  }
  loader_state state;
  state.set_element("IO");
  state.reset();
  state.set_element("M");
  EXPECT_EQ(state.current(), element::M);
  EXPECT_EQ(state.attribute_code("RM"), 4);
}

}  // namespace
}  // namespace journal
