// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archive_filling.hpp"

#include <algorithm>
#include <utility>

#include "archive/arrived_document.hpp"
#include "journal/journal_errors.hpp"
#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "messages/status_reporter.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace archive {

namespace {

// Document type 1: documents by their number, as "Чек+Z-отчет" asks them.
constexpr int kByDocumentNumber = 1;

std::string_view field_of(const datecs::RetData& result, int index) {
  if (index >= result.FieldCount || index >= datecs::kMaxFields || !result.Fields[index]) return {};
  std::string_view field = result.Fields[index];
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return field;
}

}  // namespace

ConnectionAnswer AnswerOfConnectionCheck(bool quendar) {
  if (!quendar) {
    const datecs::RetData& answer = messages::program_state().last_datecs_result;
    return {std::string(field_of(answer, 6)), std::string(field_of(answer, 7))};
  }
  return {std::string(field_of(quendar::last_result(), 2)), ""};
}

std::string FillSummary::line() const {
  std::string text = "held " + std::to_string(held_before) + ", fetched " + std::to_string(fetched) + ", absent " +
                     std::to_string(absent) + ", incomplete " + std::to_string(incomplete);
  if (not_asked > 0) text += ", not asked " + std::to_string(not_asked);
  return text;
}

bool FillOutcome::whole() const {
  return summary.incomplete == 0 && summary.not_asked <= 0 && !archive_failure && !report.register_error &&
         !report.interrupted && !report.stopped;
}

std::optional<FillRange> AskWholeTape(retrieval::JournalWindowLogic& window) {
  const std::optional<retrieval::TapeNumbers> tape = window.FindTapeNumbers();
  if (!tape) return std::nullopt;
  FillRange range;
  range.last = tape->last;
  if (tape->first) {
    range.first = *tape->first;
    range.tape_beginning = TapeBeginning{*tape->first, utc_now()};
  }
  return range;
}

std::string AskedFromFirstNumberLine() {
  return text::say(TALQEN_PHRASE("Filling", "РРО не сообщил номер первого документа ленты: запрос с номера 1"));
}

FillOutcome FillArchive(TapeArchive& archive, retrieval::JournalWindowLogic& window, const FillRange& range,
                        const FillObserver& observer) {
  const std::int64_t first = range.first;
  const std::int64_t last = range.last;
  const bool absence_is_final = range.absence_is_final;
  FillOutcome outcome;
  FillSummary& summary = outcome.summary;
  summary.numbers = last >= first ? last - first + 1 : 0;
  if (summary.numbers > 0) {
    summary.held_before = archive.held_count(first, last);
    summary.to_ask = std::max<std::int64_t>(0, summary.numbers - summary.held_before - archive.absent_count(first, last));
  }
  std::int64_t absent_not_kept = 0;
  std::int64_t unreadable = 0;
  try {
    if (range.tape_beginning) archive.store_tape_beginning(*range.tape_beginning);
    outcome.report = window.FetchDocuments(
        first, last, summary.to_ask, kByDocumentNumber, [&](std::int64_t from) { return archive.first_missing(from, last); },
        [&](std::int32_t number, std::string&& bytes) {
          ++summary.asked;
          if (bytes.empty()) {
            if (absence_is_final)
              archive.store_absent(number, utc_now());
            else
              ++absent_not_kept;
          } else {
            try {
              const ArrivedDocument arrived = ReadArrivedDocument(number, std::move(bytes), utc_now());
              archive.store(arrived.document, arrived.named);
              ++summary.fetched;
            } catch (const journal::JournalError& e) {
              ++unreadable;
              if (observer.unreadable)
                observer.unreadable(std::string("Документ "_cp1251) + std::to_string(number) + ": " + e.what());
            }
          }
          if (observer.progress) observer.progress(summary);
        });
  } catch (const ArchiveError& e) {
    outcome.archive_failure = e.what();
  }
  if (summary.numbers > 0) {
    summary.absent = archive.absent_count(first, last) + absent_not_kept;
    summary.incomplete =
        static_cast<std::int64_t>(outcome.report.incomplete.size() + outcome.report.unanswered.size()) + unreadable;
    summary.not_asked = summary.numbers - archive.held_count(first, last) - summary.absent - summary.incomplete;
  }
  return outcome;
}

}  // namespace archive
