// Fetching documents fragment by fragment and joining them into the journal text.
#include <cstring>
#include <optional>

#include "journal/journal_errors.hpp"
#include "journal/number_conversion.hpp"
#include "render/rendering_helpers.hpp"
#include "retrieval/base64.hpp"
#include "retrieval/line_file.hpp"
#include "retrieval/journal_window_logic.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace retrieval {

namespace {

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="windows-1251"?>)";
constexpr std::string_view kRootStart = R"(<RQ V="1">)";
constexpr std::string_view kRootEnd = "</RQ>";

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
};

bool JournalWindowLogic::stop_requested() const {
  return flags.cancelled_at_timeout || stop_request_.load(std::memory_order_relaxed);
}

JournalWindowLogic::FetchedDocument JournalWindowLogic::FetchDocument(int document_type, int number, AssemblyReport& report) {
  FetchedDocument document;
  for (int fragment = 0; fragment < kFragmentLimit; ++fragment) {
    const RegisterAnswer answer = requests_.ReadDocument(fields.password, document_type, number, fragment);
    if (answer.link_failed()) ++report.link_failures;
    report.port_lost = report.port_lost || answer.port_lost;
    if (!answer.answered()) {
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

AssemblyReport JournalWindowLogic::AssembleJournal(int first, int last, int document_type) {
  AssemblyReport report;
  journal_lines.clear();
  journal_lines.emplace_back(kDeclaration);
  journal_lines.emplace_back(kRootStart);
  const bool both = document_kind == render::DocumentKind::Both;
  if (both) document_by_ordinal.clear();
  std::int32_t ordinal = 0;
  flags.cancelled_at_timeout = false;
  progress_ = {first, last, first, 0, 0, 0};

  try {
    // Wide, so that a range ending at the largest number cannot overflow the count.
    for (std::int64_t n = first; n <= last && !stop_requested() && !report.port_lost; ++n) {
      ui_.attention.repaint();
      ui_.dialogs.process_pending_messages();
      if (stop_requested()) break;  // asked for while the messages were processed

      const int number = static_cast<int>(n);
      FetchedDocument document = FetchDocument(document_type, number, report);
      progress_.bytes_received += document.bytes.size();
      if (document.failed && !document.bytes.empty()) {
        // Only a part arrived: as a line it would spoil the whole journal text.
        report.incomplete.push_back(number);
      } else {
        // Like a text, the line ends at a zero byte.
        document.bytes.resize(strnlen(document.bytes.data(), document.bytes.size()));
        if (!document.bytes.empty()) {
          journal_lines.push_back(std::move(document.bytes));
          if (both) document_by_ordinal.set(ordinal, number);
          ++ordinal;
          ++progress_.documents_kept;
        }
      }
      progress_.current = n;
      ++progress_.documents_done;
      ShowProgress();
    }
  } catch (const journal::ConversionError&) {
    report.interrupted = true;
  }
  report.stopped = stop_requested() || report.port_lost;

  journal_lines.emplace_back(kRootEnd);
  report.saved = save_lines(temp_xml_path_, journal_lines);
  if (!report.saved) ui_.dialogs.show_message(std::string("Невозможно записать файл "_cp1251) + temp_xml_path_);
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
