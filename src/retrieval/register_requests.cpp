// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/register_requests.hpp"


#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "messages/status_word.hpp"

namespace retrieval {

namespace {

constexpr std::string_view kAccepted = "0000";
// The Datecs status bits that refuse this one command (syntax error, invalid command,
// general error), unlike the standing conditions such as no paper.
constexpr std::uint32_t kRefusalBits = 0x00000001 | 0x00000002 | 0x08000000;
constexpr int kNoPrinting = 0;

}  // namespace

bool RegisterAnswer::link_failed() const { return (result.Status & status::kLinkBits) != 0; }

bool RegisterAnswer::answered() const {
  if (link_failed()) return false;
  return datecs ? (result.Status & kRefusalBits) == 0 : datecs::error_field(result) == kAccepted;
}

std::string RegisterAnswer::error_code() const {
  if (datecs || link_failed()) return {};
  return std::string(datecs::error_field(result));
}

std::string RegisterAnswer::field(int index) const {
  if (index < 0 || index >= result.FieldCount || index >= datecs::kMaxFields || !result.Fields[index]) return {};
  return result.Fields[index];
}

template <class DatecsRequest, class QuendarRequest>
RegisterAnswer RegisterRequests::ask(DatecsRequest datecs_request, QuendarRequest quendar_request) {
  if (datecs_selected_()) {
    const messages::ResultRoute route(reporter_);
    datecs_request();
    return {program_.last_datecs_result, true, datecs::program_driver().device_lost()};
  }
  datecs::RetData result = quendar_request();
  return {result, false, quendar::program_driver().device_lost()};
}

RegisterAnswer RegisterRequests::ReadDocument(std::string_view password, int document_type, int document_number,
                                              int fragment) {
  return ask([&] { datecs::datecs_read_document(PrinterResultsx, document_type, document_number, fragment, password); },
             [&] { return quendar::quendar_read_document(password, document_type, document_number, fragment); });
}

RegisterAnswer RegisterRequests::FindDocumentsByDate(std::string_view password, const DateSpan& span) {
  const std::string start_date = span.start_date.six_digits();
  const std::string start_time = span.start_time.to_text();
  const std::string end_date = span.end_date.six_digits();
  const std::string end_time = span.end_time.to_text();
  return ask(
      [&] {
        datecs::datecs_find_documents_by_date(PrinterResultsx, start_date, start_time, end_date, end_time,
                                              kNoPrinting, password);
      },
      [&] {
        return quendar::quendar_find_documents_by_date(password, start_date, start_time, end_date, end_time,
                                                       kNoPrinting);
      });
}

RegisterAnswer RegisterRequests::PrintDocuments(std::string_view password, int first, int last) {
  return ask([&] { datecs::datecs_print_documents(PrinterResultsx, first, last, password); },
             [&] { return quendar::quendar_print_documents(password, first, last); });
}

}  // namespace retrieval
