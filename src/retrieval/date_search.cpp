// SPDX-License-Identifier: GPL-3.0-or-later
// The "по датам" group: the register turns a span of dates and times into document
// numbers, which are fetched at once or written into the number fields.
#include <exception>
#include <tuple>

#include "journal/journal_errors.hpp"
#include "journal/number_conversion.hpp"
#include "link/quendar.hpp"
#include "messages/error_codes.hpp"
#include "retrieval/journal_window_logic.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace retrieval {

namespace {

bool later(const journal::date_triple& a, const journal::date_triple& b) {
  return std::tie(a.year, a.month, a.day) > std::tie(b.year, b.month, b.day);
}

}  // namespace

DateSpan JournalWindowLogic::ReadDateFields() const {
  return {journal::date_triple(fields.start_date), journal::time_of_day(fields.start_time), journal::date_triple(fields.end_date), journal::time_of_day(fields.end_time)};
}

RetrievalResult JournalWindowLogic::RetrieveByDates() {
  using Outcome = RetrievalResult::Outcome;
  Outcome outcome = Outcome::Rejected;
  try {
    BeginRetrieval();
    switch (FetchByDate()) {
      case DateSearchOutcome::Fetched:
        outcome = ShowAssembledJournal();
        break;
      case DateSearchOutcome::NoRange:
        rendered_lines.clear();
        rendered_lines.push_back(text::say(TALQEN_PHRASE("JournalWindow", "РРО вернул ошибку:  %1 !"), {date_search_code_}));
        outcome = Outcome::NoRange;
        break;
      case DateSearchOutcome::Rejected:
        break;
    }
  } catch (const std::exception&) {
    outcome = Outcome::Failed;
  }
  return EndRetrieval(outcome);
}

DateSearchOutcome JournalWindowLogic::FetchByDate() {
  const DateSpan span = ReadDateFields();
  if (later(span.start_date, span.end_date)) {
    ui_.dialogs.show_message(text::say(TALQEN_PHRASE("JournalWindow", "Конечная дата должна быть не меньше начальной!")));
    return DateSearchOutcome::Rejected;
  }
  const RegisterAnswer answer = SearchDates(span);
  date_search_code_ = answer.error_code();
  last_assembly_.port_lost = answer.port_lost;
  if (!answer.answered() || answer.result.FieldCount != 2) return DateSearchOutcome::NoRange;
  const std::int32_t first = journal::to_integer(answer.field(0));
  const std::int32_t last = journal::to_integer(answer.field(1));
  last_assembly_ = AssembleJournal(first, last, 1);
  return DateSearchOutcome::Fetched;
}

bool JournalWindowLogic::FillNumbersFromDates() {
  flags.retrieval_open = true;
  int first = 1;
  int last = 1;
  const bool found = FindNumbersByDate(first, last);
  journal.receipt_no_min = first;
  journal.receipt_no_max = last;
  fields.first_number = std::to_string(first);
  fields.last_number = std::to_string(last);
  return found;
}

bool JournalWindowLogic::FindNumbersByDate(int& first, int& last) {
  const RegisterAnswer answer = SearchDates(ReadDateFields());
  if (answer.answered()) {
    if (answer.result.FieldCount != 2) return false;
    first = journal::to_integer(answer.field(0));
    last = journal::to_integer(answer.field(1));
    return true;
  }
  ReportFailedRequest(answer);
  return false;
}

std::optional<std::int64_t> JournalWindowLogic::FindLastDocumentNumber() {
  const std::optional<TapeNumbers> tape = FindTapeNumbers();
  if (!tape) return std::nullopt;
  return tape->last;
}

std::optional<TapeNumbers> JournalWindowLogic::FindTapeNumbers() {
  // The widest span the register's two-digit years can name: its numbers are those of the
  // whole tape, on either variant.
  const DateSpan widest{journal::date_triple("01.01.00"), journal::time_of_day("00:00"),
                        journal::date_triple("31.12.99"), journal::time_of_day("23:59")};
  const RegisterAnswer answer = SearchDates(widest);
  if (!answer.answered()) {
    ReportFailedRequest(answer);
    return std::nullopt;
  }
  if (answer.result.FieldCount != 2) return std::nullopt;
  TapeNumbers tape;
  try {
    tape.last = journal::to_integer(answer.field(1));
  } catch (const journal::ConversionError&) {
    return std::nullopt;
  }
  try {
    const std::int64_t first = journal::to_integer(answer.field(0));
    if (first >= 1 && first <= tape.last) tape.first = first;
  } catch (const journal::ConversionError&) {
  }
  return tape;
}

RegisterAnswer JournalWindowLogic::SearchDates(const DateSpan& span) {
  // A Cancel at the time-out question of an earlier request is no answer to this one.
  flags.cancelled_at_timeout = false;
  RegisterAnswer answer = requests_.FindDocumentsByDate(fields.password, span);
  for (int retry = 0; retry < retries_ && answer.link_failed() && !answer.port_lost && !stop_requested(); ++retry)
    answer = requests_.FindDocumentsByDate(fields.password, span);
  return answer;
}

void JournalWindowLogic::ReportFailedRequest(const RegisterAnswer& answer) {
  // The Datecs status reporter has spoken already.
  if (answer.datecs) return;
  if (answer.link_failed()) {
    // No code came back: the reason is the line's, told as the connection check tells it.
    std::string text;
    messages::ReplyAccepted(answer.result, text);
    ui_.dialogs.show_message(text);
  } else {
    ShowRegisterError();
  }
}

void JournalWindowLogic::ShowRegisterError() {
  const std::string_view code = datecs::error_field(quendar::last_result());
  ui_.dialogs.show_captioned_message("Error", text::say(TALQEN_PHRASE("JournalWindow", "РРО вернул ошибку:%1"), {code}));
}

}  // namespace retrieval
