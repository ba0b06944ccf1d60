// SPDX-License-Identifier: GPL-3.0-or-later
// Fetching documents fragment by fragment and joining them into the journal text.
#include <cstring>
#include <optional>

#include "journal/journal_errors.hpp"
#include "journal/number_conversion.hpp"
#include "link/abort.hpp"
#include "messages/error_codes.hpp"
#include "messages/status_word.hpp"
#include "render/rendering_helpers.hpp"
#include "retrieval/base64.hpp"
#include "retrieval/line_file.hpp"
#include "retrieval/journal_window_logic.hpp"
#include "retrieval/journal_envelope.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace retrieval {

namespace {

// Field 1 of a read-document reply, or nothing when it is not a number.
std::optional<std::int32_t> field_number(std::string_view text) {
  try {
    return journal::to_integer(text);
  } catch (const journal::ConversionError&) {
    return std::nullopt;
  }
}

// Field 1 says that no further fragment exists.
bool is_end_mark(const RegisterAnswer& answer, std::int32_t field1) {
  return field1 == 0 || (answer.datecs && field1 == -1);
}

}  // namespace

struct JournalWindowLogic::FetchedDocument {
  std::string bytes;
  bool failed = false;  // the fragment loop ended on an exchange without a usable answer
  int link_failures = 0;
  // The register refused the document's first fragment; its error as the user is told it.
  std::optional<std::string> refusal;
};

bool JournalWindowLogic::stop_requested() const {
  return flags.cancelled_at_timeout || stop_request_.load(std::memory_order_relaxed) ||
         device_link::abort_requested();
}

std::string JournalWindowLogic::ReportRefusal(const RegisterAnswer& answer) {
  if (answer.datecs) {
    // The status reporter has shown the message of the refusing bit already.
    const status::StatusBit* bit = status::first_reported_bit(answer.result.Status);
    return bit ? status::message_of(*bit) : std::string();
  }
  std::string decoded;
  messages::ReplyAccepted(answer.result, decoded);
  std::string text = text::say(TALQEN_PHRASE("JournalWindow", "РРО вернул ошибку: %1"), {answer.error_code()});
  if (!decoded.empty()) text += " " + decoded;
  ui_.dialogs.show_message(text);
  return text;
}

JournalWindowLogic::FetchedDocument JournalWindowLogic::FetchDocument(int document_type, int number, AssemblyReport& report) {
  FetchedDocument document;
  for (int fragment = 0; fragment < kFragmentLimit; ++fragment) {
    const RegisterAnswer answer = requests_.ReadDocument(fields.password, document_type, number, fragment);
    if (answer.link_failed()) ++document.link_failures;
    report.port_lost = report.port_lost || answer.port_lost;
    if (!answer.answered()) {
      // A refusal of the first fragment is the register's answer to the whole request (a
      // wrong password, a register in the wrong mode): no later number would fare better.
      if (fragment == 0 && !answer.link_failed())
        document.refusal = ReportRefusal(answer);
      else
        document.failed = true;
      break;
    }
    // Field 1 = 0 (or -1 on the Datecs variant) ends the document, and so does any other
    // number of fields. But a reply whose field 1 still announces data (30 fields "1;2;
    // 3...") is a damaged one: the document begun did not arrive whole.
    if (answer.result.FieldCount != 2) {
      const std::optional<std::int32_t> more = field_number(answer.field(0));
      document.failed = more && !is_end_mark(answer, *more);
      break;
    }
    if (is_end_mark(answer, journal::to_integer(answer.field(0)))) break;
    document.bytes += base64_decode(answer.field(1));
  }
  return document;
}

AssemblyReport JournalWindowLogic::FetchDocuments(std::int64_t first, std::int64_t last, std::int64_t numbers_to_ask,
                                                  int document_type, const NumberSource& numbers,
                                                  const DocumentReceiver& received) {
  AssemblyReport report;
  flags.cancelled_at_timeout = false;
  progress_ = {first, last, first, numbers_to_ask, 0, 0, 0};

  std::int64_t settled = first - 1;  // the last number needing no more asking
  try {
    // Wide, so that a range ending at the largest number cannot overflow the count.
    for (std::optional<std::int64_t> next = numbers(first); next && *next <= last && !stop_requested() && !report.port_lost;
         next = numbers(*next + 1)) {
      const std::int64_t n = *next;
      ui_.attention.repaint();
      ui_.dialogs.process_pending_messages();
      if (stop_requested()) break;  // asked for while the messages were processed

      const int number = static_cast<int>(n);
      ++report.numbers_asked;
      FetchedDocument document = FetchDocument(document_type, number, report);
      // A document whose fragments stopped coming is asked again from its start.
      for (int retry = 0; retry < retries_ && document.failed && !stop_requested() && !report.port_lost; ++retry) {
        progress_.bytes_received += document.bytes.size();
        document = FetchDocument(document_type, number, report);
      }
      progress_.bytes_received += document.bytes.size();
      report.link_failures += document.link_failures;  // of the last attempt: a retry that worked mends it
      // Cut off by a stop or a lost port: not received, so still to be asked, unless the
      // part that came is named to the user (a Cancel at the time-out question).
      const bool cut_off = document.failed && (stop_requested() || report.port_lost) &&
                           (device_link::giving_up_quiet_waits() || document.bytes.empty());
      if (document.refusal) {
        report.register_error = std::move(document.refusal);
      } else if (cut_off) {
        // Left out, and not named: it is among the numbers not asked.
      } else if (document.failed && !document.bytes.empty()) {
        // Only a part arrived: as a line it would spoil the whole journal text.
        report.incomplete.push_back(number);
      } else if (document.failed) {
        // No intact answer at all: neither a document nor the register's word that it has none.
        report.unanswered.push_back(number);
      } else {
        // Like a text, the line ends at a zero byte.
        document.bytes.resize(strnlen(document.bytes.data(), document.bytes.size()));
        if (!document.bytes.empty()) ++progress_.documents_kept;
        received(number, std::move(document.bytes));
      }
      if (!cut_off) settled = n;
      progress_.current = n;
      ++progress_.documents_done;
      ShowProgress();
      if (report.register_error) break;
    }
  } catch (const journal::ConversionError&) {
    report.interrupted = true;
  }
  report.stopped = stop_requested() || report.port_lost;
  if (settled < last && (report.stopped || report.register_error || report.interrupted))
    report.not_asked = {settled + 1, last};
  report.documents_kept = progress_.documents_kept;
  return report;
}

AssemblyReport JournalWindowLogic::AssembleJournal(int first, int last, int document_type) {
  journal_lines.clear();
  journal_lines.emplace_back(kJournalDeclaration);
  journal_lines.emplace_back(kJournalRootStart);
  const bool both = document_kind == render::DocumentKind::Both;
  if (both) document_by_ordinal.clear();
  std::int32_t ordinal = 0;
  const auto every_number = [](std::int64_t from) { return std::optional<std::int64_t>(from); };
  AssemblyReport report = FetchDocuments(first, last, static_cast<std::int64_t>(last) - first + 1, document_type, every_number, [&](std::int32_t number, std::string&& bytes) {
    if (bytes.empty()) return;  // a number that produced no data leaves no line
    journal_lines.push_back(std::move(bytes));
    if (both) document_by_ordinal.set(ordinal, number);
    ++ordinal;
  });

  journal_lines.emplace_back(kJournalRootEnd);
  // A retrieval that ended early with nothing (a refused password, a line gone, a stop)
  // has no journal to put in place of the one that was saved before.
  const bool ended_early = report.stopped || report.register_error || report.interrupted;
  if (ended_early && report.documents_kept == 0) return report;
  report.saved = save_lines(temp_xml_path_, journal_lines);
  if (!report.saved) ui_.dialogs.show_message(text::say(TALQEN_PHRASE("JournalWindow", "Невозможно записать файл %1"), {temp_xml_path_}));
  return report;
}

void JournalWindowLogic::ShowProgress() {
  const RetrievalProgress& p = progress_;
  const auto percent =
      static_cast<float>(static_cast<double>(p.current - p.first) / static_cast<double>(p.last - p.first + 1) * 100.0);
  if (ui_.attention.is_active()) {
    ui_.attention.set_progress(render::FormatFixed(percent, 8, 2) + "%     " + std::to_string(p.current));
    ui_.attention.repaint();
  }
  ui_.attention.progress_made(progress_);
}

}  // namespace retrieval
