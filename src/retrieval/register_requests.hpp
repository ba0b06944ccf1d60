// SPDX-License-Identifier: GPL-3.0-or-later
// The journal commands as the journal window sends them: through the protocol variant
// chosen at the moment of each request, every answer read the way its variant is read
// (a Datecs result through PrinterResultsx into last_datecs_result, a Quendar result as
// returned), so that the window's logic is written once for both.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "journal/time_and_date.hpp"
#include "link/exchange_result.hpp"
#include "messages/status_reporter.hpp"

namespace retrieval {

struct RegisterAnswer {
  datecs::RetData result;  // its texts stay valid until the variant's next exchange
  bool datecs = false;
  bool port_lost = false;  // the device has gone away: no later request can succeed

  // The register's answer arrived intact (no link bit) and does not refuse the command:
  // on the Quendar variant its error code is 0000, on the Datecs variant none of the
  // syntax-error, invalid-command and general-error bits is set. A damaged or refused
  // reply can hold two plausible fields; they are never taken for data.
  bool answered() const;
  bool link_failed() const;
  // The error code as received (Quendar), or empty: the Datecs variant's results carry
  // none, and an exchange that got no intact reply received none.
  std::string error_code() const;
  // Field index (from 0), or empty where the reply had fewer.
  std::string field(int index) const;
};

// The dates and times of a span as the register takes them.
struct DateSpan {
  journal::date_triple start_date;
  journal::time_of_day start_time;
  journal::date_triple end_date;
  journal::time_of_day end_time;
};

class RegisterRequests {
 public:
  // datecs_selected: the program's current variant choice, asked at every request. The
  // Datecs results reach the reporter's program state, flags and dialogs.
  RegisterRequests(std::function<bool()> datecs_selected, messages::StatusReporter& reporter,
                   const messages::ProgramState& program)
      : datecs_selected_(std::move(datecs_selected)), reporter_(reporter), program_(program) {}

  RegisterAnswer ReadDocument(std::string_view password, int document_type, int document_number, int fragment);
  // With the print flag 0, as every caller sends it.
  RegisterAnswer FindDocumentsByDate(std::string_view password, const DateSpan& span);
  RegisterAnswer PrintDocuments(std::string_view password, int first, int last);

 private:
  template <class DatecsRequest, class QuendarRequest>
  RegisterAnswer ask(DatecsRequest datecs_request, QuendarRequest quendar_request);

  std::function<bool()> datecs_selected_;
  messages::StatusReporter& reporter_;
  const messages::ProgramState& program_;
};

}  // namespace retrieval
