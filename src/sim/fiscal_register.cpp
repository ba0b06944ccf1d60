// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/fiscal_register.hpp"

#include <charconv>
#include <cstdio>
#include <optional>

#include "link/command_data.hpp"
#include "retrieval/base64.hpp"
#include "text/cp1251.hpp"
#include "sim/whole_number.hpp"

namespace sim {

namespace {

using namespace device_link;

constexpr std::uint8_t kIdleStatus = 0x80;  // bit 7 is set in every status byte
constexpr std::uint8_t kSyntaxErrorBit = 0x01;
constexpr std::uint8_t kInvalidCommandBit = 0x02;
constexpr std::uint8_t kGeneralErrorBit = 0x20;
constexpr std::uint8_t kServiceModeBit = 0x01;
constexpr std::size_t kSeparatorsOfManyFields = 30;

// What the register reports about itself when the journal does not say.
constexpr std::string_view kDefaultFactoryNumber = "4000000001";
constexpr std::string_view kDefaultFiscalNumber = "3000000001";

std::vector<std::string> request_fields(const VariantPolicy& policy, std::string_view data) {
  std::vector<std::string> fields;
  if (data.empty()) return fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = data.find(policy.data_separator, start);
    if (at == std::string_view::npos) {
      // A terminated layout leaves nothing after its last separator.
      if (!(policy.data_fields_terminated && start == data.size())) fields.emplace_back(data.substr(start));
      break;
    }
    fields.emplace_back(data.substr(start, at - start));
    start = at + 1;
  }
  return fields;
}

// A reported number goes into a reply field: it must not bring separators of its own.
std::string field_safe(std::string_view s, std::string_view fallback) {
  if (s.empty()) s = fallback;
  std::string out(s);
  for (char& c : out)
    if (c == ',' || c == ';' || c == ' ' || static_cast<unsigned char>(c) < 0x20) c = '_';
  return out;
}

std::string hex_of(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (char c : bytes) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", static_cast<unsigned char>(c));
    out += buf;
  }
  return out;
}

// The data as a reader of the log sees it: UTF-8, control bytes as dots.
std::string readable(std::string_view bytes) {
  std::string safe(bytes);
  for (char& c : safe)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '.';
  return text::to_utf8(safe);
}

std::string two_hex(std::size_t value) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02zX", value & 0xFF);
  return buf;
}

}  // namespace

FiscalRegister::FiscalRegister(const VariantPolicy& policy, RegisterSettings settings, JournalIndex journal,
                               FaultPlan faults)
    : policy_(policy), settings_(std::move(settings)), journal_(std::move(journal)), faults_(std::move(faults)) {
  // Base64 goes in whole groups of four characters, so that each fragment decodes alone.
  const std::size_t room = max_reply_data(policy_) - reply_data({"1", ""}).size();
  fragment_bytes_ = room / 4 * 3;
  if (policy_.data_fields_terminated) settings_.end_mark = 0;  // -1 would read as "more data"
}

std::string FiscalRegister::reply_data(const std::vector<std::string>& fields) const {
  return join_fields(policy_, fields);
}

std::vector<Answer> FiscalRegister::receive(std::string_view bytes) {
  std::vector<Answer> answers;
  for (const ReceivedFrame& frame : reader_.feed(bytes)) {
    if (frame.request) {
      answers.push_back(answer(*frame.request));
    } else {
      answers.push_back({std::string(1, static_cast<char>(kNak)), false,
                         "damaged frame of " + std::to_string(frame.bytes.size()) + " bytes: " + hex_of(frame.bytes) +
                             " -> NAK",
                         {}});
    }
  }
  return answers;
}

Answer FiscalRegister::answer(const Request& request) {
  const unsigned long number = ++requests_;
  Outcome outcome = execute(request);
  const std::optional<Fault> fault = faults_.fault_for(number);

  std::string error_code = error_code_of(outcome);
  std::array<std::uint8_t, 6> status;
  status.fill(kIdleStatus);
  status[0] |= status_bit_of(outcome);
  if (settings_.service_mode && policy_.reply_has_error_code) status[0] |= kServiceModeBit;

  if (fault && fault->kind == FaultKind::ManyFields) {
    outcome.fields.clear();
    const std::size_t count = kSeparatorsOfManyFields + (policy_.data_fields_terminated ? 0 : 1);
    for (std::size_t i = 1; i <= count; ++i) outcome.fields.push_back(std::to_string(i));
  } else if (fault && fault->kind == FaultKind::BadNumber) {
    if (outcome.fields.empty()) outcome.fields.emplace_back();
    outcome.fields[0] += "x";
  } else if (fault && fault->kind == FaultKind::Error) {
    outcome.fields.clear();
    if (policy_.reply_has_error_code)
      error_code = fault->error_code;
    else
      status[0] |= kGeneralErrorBit;
  }

  std::string data = reply_data(outcome.fields);
  data.resize(std::min(data.size(), max_reply_data(policy_)));  // every outcome fits; this only guards
  const std::string frame = build_reply_frame(policy_, request.sequence, request.command, error_code, data, status);

  Answer a;
  a.bytes = fault ? faults_.disturb(*fault, frame, request.sequence, request.command) : frame;
  a.works = !a.bytes.empty() && !(fault && fault->kind == FaultKind::Nak);
  a.event = outcome.event;
  a.log = "#" + std::to_string(number) + " SEQ " + two_hex(request.sequence) + " CMD " + two_hex(request.command) +
          " DATA [" + hex_of(request.data) + "] \"" + readable(request.data) + "\" -> " + outcome.note;
  if (policy_.reply_has_error_code) a.log += " (" + error_code + ")";
  if (fault) a.log += "; fault " + fault_name(*fault);
  return a;
}

FiscalRegister::Outcome FiscalRegister::execute(const Request& request) const {
  const int diagnostic = policy_.reply_has_error_code ? kQuendarDiagnostic : kDatecsDiagnostic;
  const int command = request.command;
  if (command != diagnostic && command != kReadDocument && command != kFindDocumentsByDate &&
      command != kPrintDocuments)
    return {{}, Refusal::InvalidCommand, 0, "invalid command", {}};

  const std::vector<std::string> fields = request_fields(policy_, request.data);
  std::size_t first = 0;
  if (policy_.sends_password) {
    if (fields.empty() || fields[0] != settings_.password) return {{}, Refusal::WrongPassword, 1, "wrong password", {}};
    first = 1;
  }
  if (command == diagnostic) return this->diagnostic();
  if (command == kReadDocument) return read_document(fields, first);
  if (command == kFindDocumentsByDate) return find_documents(fields, first);
  return print_documents(fields, first);
}

FiscalRegister::Outcome FiscalRegister::diagnostic() const {
  const std::string factory = !settings_.answer_factory_number.empty()
                                  ? settings_.answer_factory_number
                                  : field_safe(journal_.factory_number(), kDefaultFactoryNumber);
  const std::string fiscal = !settings_.answer_fiscal_number.empty()
                                 ? settings_.answer_fiscal_number
                                 : field_safe(journal_.fiscal_number(), kDefaultFiscalNumber);
  Outcome o;
  if (policy_.reply_has_error_code) {
    o.fields = {"SIM-QN", "1.00", factory};
  } else {
    // The client turns the blanks among the first 20 characters into separators, so the
    // four leading items must end within them: eight fields in all.
    o.fields = {"SIM-DT 1.00 01Jun24 1200", "5A3C", "00", factory, fiscal};
  }
  o.note = "diagnostic information";
  return o;
}

FiscalRegister::Outcome FiscalRegister::read_document(const std::vector<std::string>& fields,
                                                      std::size_t first) const {
  long values[3] = {};
  for (std::size_t k = 0; k < 3; ++k) {
    const auto v = first + k < fields.size() ? whole_number(fields[first + k]) : std::nullopt;
    if (!v) return {{}, Refusal::FieldFormat, first + k + 1, "malformed field " + std::to_string(first + k + 1), {}};
    values[k] = *v;
  }
  const auto [type, number, fragment] = values;
  if (type != 0 && type != 1) return {{}, Refusal::FieldValue, first + 1, "unknown document type", {}};
  if (fragment < 0) return {{}, Refusal::FieldValue, first + 3, "negative fragment number", {}};

  const JournalDocument* doc = type == 0 ? journal_.by_z_number(number) : journal_.by_number(number);
  const std::string what = std::string(type == 0 ? "Z-report " : "document ") + std::to_string(number);
  const std::size_t count = doc ? (doc->bytes.size() + fragment_bytes_ - 1) / fragment_bytes_ : 0;
  Outcome o;
  if (!doc || static_cast<unsigned long>(fragment) >= count) {
    o.fields = {std::to_string(settings_.end_mark)};
    // Datecs shows the end as two fields; the Quendar client drops a trailing separator,
    // so an empty second field cannot be sent there.
    if (!policy_.data_fields_terminated) o.fields.emplace_back();
    o.note = doc ? "end of " + what : what + " not in the journal";
    return o;
  }
  const std::string_view chunk =
      std::string_view(doc->bytes).substr(static_cast<std::size_t>(fragment) * fragment_bytes_, fragment_bytes_);
  o.fields = {"1", retrieval::base64_encode(chunk)};
  o.note = "fragment " + std::to_string(fragment) + " of " + what + " (" + std::to_string(fragment + 1) + " of " +
           std::to_string(count) + ")";
  return o;
}

FiscalRegister::Outcome FiscalRegister::find_documents(const std::vector<std::string>& fields,
                                                       std::size_t first) const {
  const auto field = [&](std::size_t k) -> std::string_view {
    return first + k < fields.size() ? std::string_view(fields[first + k]) : std::string_view();
  };
  const auto malformed = [&](std::size_t k) {
    return Outcome{{}, Refusal::FieldFormat, first + k + 1, "malformed field " + std::to_string(first + k + 1), {}};
  };
  // A date is checked with a time that is surely valid, so that the refusal names the
  // field at fault.
  if (!minute_stamp_of(field(0), "0000")) return malformed(0);
  const auto from = minute_stamp_of(field(0), field(1));
  if (!from) return malformed(1);
  if (!minute_stamp_of(field(2), "0000")) return malformed(2);
  const auto to = minute_stamp_of(field(2), field(3));
  if (!to) return malformed(3);
  const auto print = whole_number(field(4));
  if (!print) return malformed(4);

  const std::string span = std::string(field(0)) + " " + std::string(field(1)) + " to " + std::string(field(2)) +
                           " " + std::string(field(3));
  const auto range = journal_.numbers_between(*from, *to);
  if (!range) return {{}, Refusal::NoDocuments, 0, "no documents from " + span, {}};
  Outcome o;
  o.fields = {std::to_string(range->first), std::to_string(range->second)};
  o.note = "documents " + o.fields[0] + " to " + o.fields[1] + " from " + span;
  if (*print != 0) o.event = "printing documents " + o.fields[0] + " to " + o.fields[1];
  return o;
}

FiscalRegister::Outcome FiscalRegister::print_documents(const std::vector<std::string>& fields,
                                                        std::size_t first) const {
  long range[2] = {};
  for (std::size_t k = 0; k < 2; ++k) {
    const auto v = first + k < fields.size() ? whole_number(fields[first + k]) : std::nullopt;
    if (!v) return {{}, Refusal::FieldFormat, first + k + 1, "malformed field " + std::to_string(first + k + 1), {}};
    range[k] = *v;
  }
  Outcome o;
  o.event = "printing documents " + std::to_string(range[0]) + " to " + std::to_string(range[1]);
  o.note = o.event;
  return o;
}

std::string FiscalRegister::error_code_of(const Outcome& o) const {
  // The register writes its 16-bit code low byte first: detail, then group.
  switch (o.refusal) {
    case Refusal::None:
      return "0000";
    case Refusal::InvalidCommand:
      return "0002";  // group 2, detail 0: no such command
    case Refusal::WrongPassword:
      return "0006";
    case Refusal::FieldFormat:
      return two_hex(o.bad_field) + "03";
    case Refusal::FieldValue:
      return two_hex(o.bad_field) + "04";
    case Refusal::NoDocuments:
      return "0202";  // group 2, detail 2: no data
  }
  return "0000";
}

std::uint8_t FiscalRegister::status_bit_of(const Outcome& o) const {
  if (policy_.reply_has_error_code) return 0;  // that variant refuses by error code
  switch (o.refusal) {
    case Refusal::InvalidCommand:
      return kInvalidCommandBit;
    case Refusal::FieldFormat:
    case Refusal::FieldValue:
    case Refusal::WrongPassword:
      return kSyntaxErrorBit;
    case Refusal::None:
    case Refusal::NoDocuments:
      return 0;
  }
  return 0;
}

}  // namespace sim
