// SPDX-License-Identifier: GPL-3.0-or-later
// The box at the end of "Пополнить архив": what came, in one sentence.
#include "app/fill_report.hpp"

#include <gtest/gtest.h>

#include "text/cp1251.hpp"

namespace {

TEST(FillReport, TheSummarySaysWhatCameAndOnlyWhatThereIsOfTheRest) {
  struct Case {
    archive::FillSummary summary;
    const char* sentence;
  };
  const auto summary = [](std::int64_t held, std::int64_t fetched, std::int64_t absent, std::int64_t incomplete,
                          std::int64_t not_asked) {
    archive::FillSummary s;
    s.held_before = held;
    s.fetched = fetched;
    s.absent = absent;
    s.incomplete = incomplete;
    s.not_asked = not_asked;
    return s;
  };
  const Case cases[] = {
      {summary(0, 33, 0, 0, 0), "Получено документов: 33."},
      {summary(33, 0, 0, 0, 0), "Новых документов нет; в архиве уже были: 33."},
      {summary(20, 13, 2, 1, 0),
       "Получено документов: 13; в архиве уже были: 20; нет в РРО: 2; получены не полностью (их запросит следующее "
       "пополнение): 1."},
      {summary(0, 4, 0, 0, 29), "Получено документов: 4; не запрошены: 29."},
  };
  for (const Case& c : cases) EXPECT_EQ(text::to_utf8(app::fill_summary_sentence(c.summary)), c.sentence);
}

TEST(FillReport, WhatWentWrongComesBeforeTheSentence) {
  archive::FillOutcome outcome;
  outcome.summary.fetched = 2;
  outcome.report.port_lost = true;
  outcome.report.incomplete = {7};
  outcome.archive_failure = "document 9 is of another register";
  EXPECT_EQ(text::to_utf8(app::fill_report_text(outcome, {text::from_utf8("Документ 5: not a number")})),
            "Документ 5: not a number\nСвязь с портом потеряна\nДокумент 7 получен не полностью\n"
            "document 9 is of another register\nПолучено документов: 2.");
}

}  // namespace
