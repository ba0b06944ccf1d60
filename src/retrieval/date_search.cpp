// The "по датам" group: the register turns a span of dates and times into document
// numbers, which are fetched at once or written into the number fields.
#include <exception>
#include <tuple>

#include "journal/number_conversion.hpp"
#include "link/quendar.hpp"
#include "messages/error_codes.hpp"
#include "retrieval/request_window.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace retrieval {

namespace {

bool later(const journal::date_triple& a, const journal::date_triple& b) {
  return std::tie(a.year, a.month, a.day) > std::tie(b.year, b.month, b.day);
}

}  // namespace

DateSpan RequestWindow::ReadDateFields() const {
  return {journal::date_triple(Edit4), journal::time_e(Edit6), journal::date_triple(Edit5), journal::time_e(Edit7)};
}

RetrievalResult RequestWindow::Button4Click() {
  using Outcome = RetrievalResult::Outcome;
  Outcome outcome = Outcome::Rejected;
  try {
    BeginRetrieval();
    switch (FetchByDate()) {
      case FetchOutcome::Fetched:
        outcome = ShowAssembledJournal();
        break;
      case FetchOutcome::NoRange:
        ListBox2.clear();
        ListBox2.push_back(std::string("РРО вернул ошибку:  "_cp1251) + date_search_code_ + " !");
        outcome = Outcome::NoRange;
        break;
      case FetchOutcome::Rejected:
        break;
    }
  } catch (const std::exception&) {
    outcome = Outcome::Failed;
  }
  return EndRetrieval(outcome);
}

FetchOutcome RequestWindow::FetchByDate() {
  const DateSpan span = ReadDateFields();
  if (later(span.start_date, span.end_date)) {
    ui_.dialogs.show_message("Конечная дата должна быть не меньше начальной!"_cp1251);
    return FetchOutcome::Rejected;
  }
  const RegisterAnswer answer = requests_.FindDocumentsByDate(Edit3, span);
  date_search_code_ = answer.error_code();
  last_assembly_.port_lost = answer.port_lost;
  if (!answer.answered() || answer.result.FieldCount != 2) return FetchOutcome::NoRange;
  const std::int32_t first = journal::to_integer(answer.field(0));
  const std::int32_t last = journal::to_integer(answer.field(1));
  last_assembly_ = AssembleJournal(first, last, 1);
  return FetchOutcome::Fetched;
}

bool RequestWindow::Button5Click() {
  flags.Busy = true;
  int first = 1;
  int last = 1;
  const bool found = FindNumbersByDate(first, last);
  rq.receipt_no_min = first;
  rq.receipt_no_max = last;
  Edit1 = std::to_string(first);
  Edit2 = std::to_string(last);
  return found;
}

bool RequestWindow::FindNumbersByDate(int& first, int& last) {
  const RegisterAnswer answer = requests_.FindDocumentsByDate(Edit3, ReadDateFields());
  if (answer.answered()) {
    if (answer.result.FieldCount != 2) return false;
    first = journal::to_integer(answer.field(0));
    last = journal::to_integer(answer.field(1));
    return true;
  }
  ReportFailedRequest(answer);
  return false;
}

void RequestWindow::ReportFailedRequest(const RegisterAnswer& answer) {
  // The Datecs status reporter has spoken already.
  if (answer.datecs) return;
  if (answer.link_failed()) {
    // No code came back: the reason is the line's, told as the connection check tells it.
    std::string text;
    messages::DecodeReplyError(answer.result, text);
    ui_.dialogs.show_message(text);
  } else {
    ShowRegisterError();
  }
}

void RequestWindow::ShowRegisterError() {
  const std::string_view code = datecs::error_field(quendar::last_result());
  ui_.dialogs.show_captioned_message("Error", std::string("РРО вернул ошибку:"_cp1251) + std::string(code));
}

}  // namespace retrieval
