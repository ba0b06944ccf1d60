#include "retrieval/request_window.hpp"

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

using namespace text::literals;

namespace retrieval {

namespace {

std::string decimal(std::int32_t n) { return std::to_string(n); }

}  // namespace

bool RetrievalResult::complete() const {
  return outcome == Outcome::Shown && assembly.saved && !assembly.stopped && !assembly.interrupted &&
         !assembly.port_lost && assembly.incomplete.empty() && assembly.link_failures == 0;
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

RequestWindow::RequestWindow(Surroundings surroundings, std::string temp_xml_path)
    : ui_(std::move(surroundings)),
      reporter_(ui_.console, flags, ui_.dialogs),
      requests_(ui_.datecs_selected, reporter_, ui_.console),
      temp_xml_path_(std::move(temp_xml_path)) {}

void RequestWindow::FormCreate(std::string_view long_time_format) {
  const device_link::LocalTime now = ui_.clock.local_time();
  Edit5 = journal::TwoDigits(now.day) + "." + journal::TwoDigits(now.month) + "." + journal::TwoDigits(now.year % 100);
  std::string time = FormatTime(now, long_time_format);
  if (time.find(':') == 1) time.insert(0, "0");
  Edit7 = time.substr(0, 5);
  Edit4 = journal::date_triple(Edit5).first_of_previous_month();
  Edit6 = "00:00";
  ComboBox1 = render::document_choice::kBoth;
}

void RequestWindow::ComboBox1Change() {
  const bool zreports = ComboBox1 == render::document_choice::kZReports;
  Edit1 = decimal(zreports ? rq.z_no_min : rq.receipt_no_min);
  Edit2 = decimal(zreports ? rq.z_no_max : rq.receipt_no_max);
}

void RequestWindow::Button2Click() {
  ui_.frame.close_request_window();
  ui_.frame.show_main_window();
  flags.Busy = false;
}

void RequestWindow::FormClose() { ui_.frame.show_main_window(); }

void RequestWindow::BeginRetrieval() {
  rq.clear();
  control.reset();
  flags.Busy = true;
  last_assembly_ = {};
  ui_.frame.hide_request_window();
  ui_.attention.set_caption("ВНИМАНИЕ!!!!"_cp1251);
  ui_.attention.set_activity("ИДЁТ ЗАГРУЗКА ДАННЫХ...."_cp1251);
  ui_.attention.show();
  ui_.attention.repaint();
}

RetrievalResult RequestWindow::EndRetrieval(RetrievalResult::Outcome outcome) {
  ui_.attention.set_progress("");
  ui_.attention.hide();
  ui_.frame.show_request_window();
  if (outcome == RetrievalResult::Outcome::Failed) AppendFailureLines(ListBox2);
  if (last_assembly_.port_lost) ui_.dialogs.show_message("Связь с портом потеряна"_cp1251);
  if (!last_assembly_.incomplete.empty()) {
    std::string text;
    for (const std::int32_t n : last_assembly_.incomplete) {
      if (!text.empty()) text += '\n';
      text += std::string("Документ "_cp1251) + decimal(n) + std::string(" получен не полностью"_cp1251);
    }
    ui_.dialogs.show_message(text);
  }
  // A stop ends this retrieval, not the next one.
  stop_request_.store(false, std::memory_order_relaxed);
  return {outcome, last_assembly_};
}

RetrievalResult::Outcome RequestWindow::ShowAssembledJournal() {
  render::RenderContext context{ComboBox1, DocumentByOrdinal, DocumentByZNumber};
  LoadAndRender(journal::dom::JoinLines(ListBox1), rq, control, context, ListBox2);
  // The documents completed before a failure are shown, and the failure follows them.
  return last_assembly_.interrupted ? RetrievalResult::Outcome::Failed : RetrievalResult::Outcome::Shown;
}

RetrievalResult RequestWindow::Button1Click() {
  using Outcome = RetrievalResult::Outcome;
  Outcome outcome = Outcome::Rejected;
  try {
    BeginRetrieval();
    if (ValidateNumberRange() == 0) outcome = ShowAssembledJournal();
  } catch (const std::exception&) {
    outcome = Outcome::Failed;
  }
  return EndRetrieval(outcome);
}

int RequestWindow::ValidateNumberRange() {
  const std::int32_t first = journal::to_integer(Edit1);
  const std::int32_t last = journal::to_integer(Edit2);
  const int type = ComboBox1 == render::document_choice::kZReports ? 0 : 1;
  if (first >= 1 && last >= first) {
    last_assembly_ = AssembleJournal(first, last, type);
    return 0;
  }
  ui_.dialogs.show_message(first < 1 ? "Началный номер должен быть >0!"_cp1251
                                     : "Конечный номер должен быть не меньше начального!"_cp1251);
  return 1;
}

void RequestWindow::Button3Click() {
  const auto path = ui_.dialogs.ask_save_path("*.txt", "*.txt", "txt");
  if (path) SaveList(*path);
}

bool RequestWindow::SaveList(const std::string& path) {
  if (save_lines(path, ListBox2)) return true;
  ui_.dialogs.show_message(std::string("Невозможно записать файл "_cp1251) + path);
  return false;
}

bool RequestWindow::Button6Click() {
  if (!ui_.dialogs.ask_yes_no("Продолжить?"_cp1251, "Печать требует затрат бумажной ленты"_cp1251)) return false;
  std::int32_t first = 0;
  std::int32_t last = 0;
  if (ComboBox1 == render::document_choice::kZReports && DocumentByZNumber.has_entries()) {
    first = DocumentByZNumber.lookup(journal::to_integer(Edit1));
    last = DocumentByZNumber.lookup(journal::to_integer(Edit2));
  } else {
    first = journal::to_integer(Edit1);
    last = journal::to_integer(Edit2);
  }
  const RegisterAnswer answer = requests_.PrintDocuments(Edit3, first, last);
  // The Datecs result has been shown by the status reporter already.
  if (answer.datecs) return status::first_reported_bit(answer.result.Status) == nullptr;
  std::string text;
  if (messages::DecodeReplyError(answer.result, text)) return true;
  ReportFailedRequest(answer);
  return false;
}

}  // namespace retrieval
