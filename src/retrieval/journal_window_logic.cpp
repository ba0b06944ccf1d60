// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/journal_window_logic.hpp"

#include <exception>

#include "journal/number_conversion.hpp"
#include "journal/time_and_date.hpp"
#include "journal/xml_dom.hpp"
#include "messages/error_codes.hpp"
#include "messages/status_word.hpp"
#include "retrieval/failure_lines.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "retrieval/line_file.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace retrieval {

namespace {

std::string decimal(std::int32_t n) { return std::to_string(n); }

}  // namespace

bool RetrievalResult::complete() const {
  return outcome == Outcome::Shown && assembly.saved && !assembly.stopped && !assembly.interrupted &&
         !assembly.port_lost && !assembly.register_error && assembly.incomplete.empty() &&
         assembly.link_failures == 0;
}

std::string FormatTime(const device_link::LocalTime& time, std::string_view format) {
  std::string out;
  for (std::size_t i = 0; i < format.size();) {
    const char c = format[i];
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == c) ++run;
    int value = -1;
    if (c == 'H') value = time.hour;
    if (c == 'h') value = time.hour % 12 == 0 ? 12 : time.hour % 12;
    if (c == 'm') value = time.minute;
    if (c == 's') value = time.second;
    if (value < 0) {
      out.append(format.substr(i, run));
    } else {
      out += run >= 2 ? journal::TwoDigits(value) : std::to_string(value);
    }
    i += run;
  }
  return out;
}

JournalWindowLogic::JournalWindowLogic(Surroundings surroundings, std::string temp_xml_path)
    : ui_(std::move(surroundings)),
      reporter_(ui_.program, flags, ui_.dialogs),
      requests_(ui_.datecs_selected, reporter_, ui_.program),
      temp_xml_path_(std::move(temp_xml_path)) {}

void JournalWindowLogic::SetDefaultFields(std::string_view long_time_format) {
  const device_link::LocalTime now = ui_.clock.local_time();
  fields.end_date = journal::TwoDigits(now.day) + "." + journal::TwoDigits(now.month) + "." + journal::TwoDigits(now.year % 100);
  std::string time = FormatTime(now, long_time_format);
  if (time.find(':') == 1) time.insert(0, "0");
  fields.end_time = time.substr(0, 5);
  fields.start_date = journal::date_triple(fields.end_date).first_of_previous_month();
  fields.start_time = "00:00";
  document_kind = render::DocumentKind::Both;
}

void JournalWindowLogic::FillNumbersForKind() {
  const bool zreports = document_kind == render::DocumentKind::ZReports;
  fields.first_number = decimal(zreports ? journal.z_no_min : journal.receipt_no_min);
  fields.last_number = decimal(zreports ? journal.z_no_max : journal.receipt_no_max);
}

void JournalWindowLogic::set_numbers(std::int64_t first, std::int64_t last) {
  fields.first_number = std::to_string(first);
  fields.last_number = std::to_string(last);
}

void JournalWindowLogic::Close() {
  ui_.frame.close_journal_window();
  ui_.frame.show_main_window();
  flags.retrieval_open = false;
}

void JournalWindowLogic::OnClosed() { ui_.frame.show_main_window(); }

void JournalWindowLogic::BeginRetrieval() {
  journal.clear();
  loader_state.reset();
  flags.retrieval_open = true;
  last_assembly_ = {};
  ui_.frame.hide_journal_window();
  ui_.attention.set_caption(text::say(TALQEN_PHRASE("JournalWindow", "ВНИМАНИЕ!!!!")));
  ui_.attention.set_activity(text::say(TALQEN_PHRASE("JournalWindow", "ИДЁТ ЗАГРУЗКА ДАННЫХ....")));
  ui_.attention.show();
  ui_.attention.repaint();
}

RetrievalResult JournalWindowLogic::EndRetrieval(RetrievalResult::Outcome outcome) {
  ui_.attention.set_progress("");
  ui_.attention.hide();
  ui_.frame.show_journal_window();
  if (outcome == RetrievalResult::Outcome::Failed) AppendFailureLines(rendered_lines);
  if (last_assembly_.port_lost) ui_.dialogs.show_message(text::say(TALQEN_PHRASE("JournalWindow", "Связь с портом потеряна")));
  if (!last_assembly_.incomplete.empty()) {
    std::string text;
    for (const std::int32_t n : last_assembly_.incomplete) {
      if (!text.empty()) text += '\n';
      text += text::say(TALQEN_PHRASE("JournalWindow", "Документ %1 получен не полностью"), {decimal(n)});
    }
    ui_.dialogs.show_message(text);
  }
  // A stop ends this retrieval, not the next one.
  stop_request_.store(false, std::memory_order_relaxed);
  return {outcome, last_assembly_};
}

RetrievalResult::Outcome JournalWindowLogic::ShowAssembledJournal() {
  render::RenderContext context{document_kind, document_by_ordinal, document_by_z_number, organisation_};
  LoadAndRender(journal_lines, journal, loader_state, context, rendered_lines);
  // The documents completed before a failure are shown, and the failure follows them.
  return last_assembly_.interrupted ? RetrievalResult::Outcome::Failed : RetrievalResult::Outcome::Shown;
}

RetrievalResult JournalWindowLogic::RetrieveByNumbers() {
  using Outcome = RetrievalResult::Outcome;
  Outcome outcome = Outcome::Rejected;
  try {
    BeginRetrieval();
    if (FetchValidatedRange() == 0) outcome = ShowAssembledJournal();
  } catch (const std::exception&) {
    outcome = Outcome::Failed;
  }
  return EndRetrieval(outcome);
}

int JournalWindowLogic::FetchValidatedRange() {
  const std::int32_t first = journal::to_integer(fields.first_number);
  const std::int32_t last = journal::to_integer(fields.last_number);
  const int type = document_kind == render::DocumentKind::ZReports ? 0 : 1;
  if (first >= 1 && last >= first) {
    last_assembly_ = AssembleJournal(first, last, type);
    return 0;
  }
  ui_.dialogs.show_message(first < 1 ? text::say(TALQEN_PHRASE("JournalWindow", "Началный номер должен быть >0!"))
                                     : text::say(TALQEN_PHRASE("JournalWindow", "Конечный номер должен быть не меньше начального!")));
  return 1;
}

void JournalWindowLogic::SaveListAs() {
  const auto path = ui_.dialogs.ask_save_path("*.txt", "*.txt", "txt");
  if (path) SaveList(*path);
}

bool JournalWindowLogic::SaveList(const std::string& path) {
  if (save_lines(path, rendered_lines)) return true;
  ui_.dialogs.show_message(text::say(TALQEN_PHRASE("JournalWindow", "Невозможно записать файл %1"), {path}));
  return false;
}

bool JournalWindowLogic::PrintOnRegister() {
  if (!ui_.dialogs.ask_yes_no(text::say(TALQEN_PHRASE("JournalWindow", "Продолжить?")),
                              text::say(TALQEN_PHRASE("JournalWindow", "Печать требует затрат бумажной ленты"))))
    return false;
  std::int32_t first = 0;
  std::int32_t last = 0;
  if (document_kind == render::DocumentKind::ZReports && document_by_z_number.has_entries()) {
    first = document_by_z_number.lookup(journal::to_integer(fields.first_number));
    last = document_by_z_number.lookup(journal::to_integer(fields.last_number));
  } else {
    first = journal::to_integer(fields.first_number);
    last = journal::to_integer(fields.last_number);
  }
  const RegisterAnswer answer = requests_.PrintDocuments(fields.password, first, last);
  // The Datecs result has been shown by the status reporter already.
  if (answer.datecs) return status::first_reported_bit(answer.result.Status) == nullptr;
  std::string text;
  if (messages::ReplyAccepted(answer.result, text)) return true;
  ReportFailedRequest(answer);
  return false;
}

}  // namespace retrieval
