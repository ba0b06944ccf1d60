// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fill_report.hpp"

#include "retrieval/failure_lines.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace app {

std::string fill_summary_sentence(const archive::FillSummary& s) {
  const auto n = [](std::int64_t value) { return std::to_string(value); };
  std::string sentence = s.fetched > 0
                             ? text::say(TALQEN_PHRASE("Filling", "Получено документов: %1"), {n(s.fetched)})
                             : text::say(TALQEN_PHRASE("Filling", "Новых документов нет"));
  const auto add = [&](bool told, const text::Phrase& phrase, std::int64_t value) {
    if (told) sentence += "; " + text::say(phrase, {n(value)});
  };
  add(s.held_before > 0, TALQEN_PHRASE("Filling", "в архиве уже были: %1"), s.held_before);
  add(s.absent > 0, TALQEN_PHRASE("Filling", "нет в РРО: %1"), s.absent);
  add(s.incomplete > 0, TALQEN_PHRASE("Filling", "получены не полностью (их запросит следующее пополнение): %1"),
      s.incomplete);
  add(s.not_asked > 0, TALQEN_PHRASE("Filling", "не запрошены: %1"), s.not_asked);
  return sentence + ".";
}

std::string fill_report_text(const archive::FillOutcome& outcome, const std::vector<std::string>& unreadable) {
  const retrieval::AssemblyReport& report = outcome.report;
  std::vector<std::string> told = unreadable;
  if (report.port_lost) told.push_back(text::say(TALQEN_PHRASE("JournalWindow", "Связь с портом потеряна")));
  for (const std::int32_t number : report.incomplete)
    told.push_back(text::say(TALQEN_PHRASE("JournalWindow", "Документ %1 получен не полностью"), {std::to_string(number)}));
  if (report.interrupted) retrieval::AppendFailureLines(told);
  if (outcome.archive_failure) told.push_back(text::from_utf8(*outcome.archive_failure));
  told.push_back(fill_summary_sentence(outcome.summary));
  std::string text;
  for (const std::string& line : told) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace app
