// SPDX-License-Identifier: GPL-3.0-or-later
// The journal window's logic, without its widgets: the journal it owns, the two number
// maps, the retrieval flags, the texts of its fields, its two lists, and the handlers
// that fetch documents by numbers or by dates, save the lines and have the register
// print. The desktop program wires widgets to it, talqen-cli fills its fields
// from the command line, tests drive it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "journal/journal_container.hpp"
#include "journal/number_map.hpp"
#include "link/clock.hpp"
#include "messages/dialogs.hpp"
#include "messages/status_reporter.hpp"
#include "render/packed_lines.hpp"
#include "render/render_context.hpp"
#include "retrieval/attention_window.hpp"
#include "retrieval/register_requests.hpp"

namespace retrieval {

// The most fragments asked for one document (0 to 32767).
inline constexpr int kFragmentLimit = 32768;

// What one assembly did besides building the journal text.
struct AssemblyReport {
  // Documents of which only a part arrived: left out of the journal text.
  std::vector<std::int32_t> incomplete;
  // Numbers whose first fragment got no intact reply, even when asked again: neither a
  // document nor the register's word that it has none.
  std::vector<std::int32_t> unanswered;
  // Exchanges that got no intact reply (no reply, NAK, checksum mismatch), in the last
  // attempt at each document: a document that came whole when asked again counts none.
  int link_failures = 0;
  // The time-out question was answered Cancel, the user asked to stop, an abort was
  // requested, or the port was lost.
  bool stopped = false;
  // A failure (a field 1 that is not a number) ended it; the documents before are kept.
  bool interrupted = false;
  // The serial device went away: the retrieval ended at once, what came is kept.
  bool port_lost = false;
  // temp.xml holds the journal text. A retrieval that ended early without a document
  // leaves the file as it was.
  bool saved = false;
  // The register refused a document (an error code other than 0000, a refusal bit) at
  // its first fragment: the retrieval stopped there. The text the user was shown.
  std::optional<std::string> register_error;
  // The numbers (first, last) that were not asked because the retrieval stopped early;
  // a document whose fetching was cut off by the stop counts among them.
  std::optional<std::pair<std::int64_t, std::int64_t>> not_asked;
  std::int64_t numbers_asked = 0;   // numbers for which the register was asked
  std::int64_t documents_kept = 0;  // documents that went into the journal text
};

// How a retrieval by numbers or by dates ended.
struct RetrievalResult {
  enum class Outcome {
    Shown,     // the journal text was loaded and rendered into the rendered lines
    Rejected,  // the range or the dates were refused with a message; nothing was sent
    NoRange,   // the register gave no number range for the dates (one rendered line)
    Failed,    // the failure lines stand at the end of the rendered lines
  };
  Outcome outcome = Outcome::Rejected;
  AssemblyReport assembly;  // of the assembly that ran, if one did

  // Shown, and nothing lost or unanswered on the way.
  bool complete() const;
};

// Which of the three outcomes the date search had.
enum class DateSearchOutcome { Fetched, NoRange, Rejected };

// The first and the last document number of the register's whole tape.
struct TapeNumbers {
  std::optional<std::int64_t> first;  // nothing when the register's answer names no usable first number
  std::int64_t last = 0;
};

// The window's default long time format: hours without a leading zero.
inline constexpr std::string_view kLongTimeFormat = "H:mm:ss";

// The time written with a format of H or HH (hours), h or hh (hours 1-12), m or mm, s or
// ss; every other character stands for itself.
std::string FormatTime(const device_link::LocalTime& time, std::string_view format);

// The texts of the request fields as the user typed them. They stay texts: a blank or a
// letter in a number field must still give the failure lines, as in the window.
struct RequestFields {
  std::string first_number = "1";
  std::string last_number = "1";
  std::string password = "271828";
  std::string start_date, end_date;  // dd.mm.yy
  std::string start_time, end_time;  // hh:mm
};

class JournalWindowLogic {
 public:
  // What the program around the window hands it.
  struct Surroundings {
    messages::ProgramState& program;  // last_datecs_result, written by PrinterResultsx
    messages::Dialogs& dialogs;
    AttentionWindow& attention;
    WindowFrame& frame;
    std::function<bool()> datecs_selected;  // the main window's variant choice, read at every request
    device_link::Clock& clock;              // today, for the date defaults
  };

  // temp_xml_path: where the journal text of every assembly is written.
  explicit JournalWindowLogic(Surroundings surroundings, std::string temp_xml_path = "temp.xml");
  JournalWindowLogic(const JournalWindowLogic&) = delete;
  JournalWindowLogic& operator=(const JournalWindowLogic&) = delete;

  // The window's handlers.
  // The fields' defaults when the window is made: the dates from the first of the
  // previous month to now, both kinds of document.
  void SetDefaultFields(std::string_view long_time_format = kLongTimeFormat);
  // The number fields from the journal's range of the chosen kind.
  void FillNumbersForKind();
  void Close();     // "Закрыть"
  void OnClosed();  // the window closed in any way
  RetrievalResult RetrieveByNumbers();  // "Получить" by numbers
  // Fetches the range of the number fields when it is valid (0), else tells why (1).
  int FetchValidatedRange();
  AssemblyReport AssembleJournal(int first, int last, int document_type);

  // The numbers a fetch asks for: the first one not below `from`, or nothing when none is
  // left. Ascending.
  using NumberSource = std::function<std::optional<std::int64_t>(std::int64_t from)>;
  // A number the register answered whole: its document's bytes up to the first zero byte,
  // or nothing when the register has no document under that number.
  using DocumentReceiver = std::function<void(std::int32_t number, std::string&& bytes)>;
  // The numbers of [first, last] that `numbers` gives, asked one after the other with the
  // given document type: each fragment by fragment, asked again from its start while its
  // fragments stop coming (set_retries), the fetch ended by a refusal of a first fragment,
  // a stop, a lost port or a field 1 that is no number. Documents that came whole go to
  // `received` at once; the rest is told in the report. Progress goes to the attention window,
  // counted against numbers_to_ask, how many numbers `numbers` will give.
  AssemblyReport FetchDocuments(std::int64_t first, std::int64_t last, std::int64_t numbers_to_ask, int document_type,
                                const NumberSource& numbers, const DocumentReceiver& received);
  RetrievalResult RetrieveByDates();  // "Получить" by dates
  DateSearchOutcome FetchByDate();
  // "Вернуть номера": true when the register gave the numbers. A blank date or time
  // throws journal::ConversionError, with the number fields unchanged.
  bool FillNumbersFromDates();
  bool FindNumbersByDate(int& first, int& last);
  void ShowRegisterError();
  // The number of the last document on the tape, as the register gives it for the widest
  // span of dates; nothing when it gives none (a refusal is reported as for the numbers
  // of a span).
  std::optional<std::int64_t> FindLastDocumentNumber();
  // The same question, with the first number of the tape that its answer carries too.
  std::optional<TapeNumbers> FindTapeNumbers();
  void SaveListAs();  // "Сохранить"
  // "Печать на РРО": true when the register was asked and reported no failure. A number
  // field that is not a number throws journal::ConversionError before anything is sent.
  bool PrintOnRegister();

  // Values given by a program rather than typed (talqen-cli).
  void set_numbers(std::int64_t first, std::int64_t last);
  void set_password(std::string password) { fields.password = std::move(password); }
  void set_document_kind(render::DocumentKind kind) { document_kind = kind; }
  void set_start_date(std::string text) { fields.start_date = std::move(text); }
  void set_end_date(std::string text) { fields.end_date = std::move(text); }
  void set_start_time(std::string text) { fields.start_time = std::move(text); }
  void set_end_time(std::string text) { fields.end_time = std::move(text); }
  // The organisation named at the head of every rendered document.
  void set_organisation(render::Organisation organisation) { organisation_ = std::move(organisation); }

  // Writes the rendered lines as "Сохранить" does; a file that cannot be written is reported.
  bool SaveList(const std::string& path);

  // How often a document whose fragments stopped coming is asked again from its first
  // fragment before it is left out, and a date search whose exchange failed on the line
  // is sent again (1 unless set; 0: neither is asked again).
  void set_retries(int retries) { retries_ = retries < 0 ? 0 : retries; }

  // A stop from the user interface: the retrieval ends after the current document, as
  // after Cancel at the time-out question. Safe to call from a signal handler.
  void RequestStop() noexcept { stop_request_.store(true, std::memory_order_relaxed); }
  // A caller of FetchDocuments outside the window's own retrievals (an archive's filling)
  // ends the stop with its run, as the window's retrievals do, so that it does not stop the next.
  void ClearStopRequest() noexcept { stop_request_.store(false, std::memory_order_relaxed); }

  // The state the window owns.
  journal::loaded_journal journal;
  journal::loader_state loader_state;
  journal::number_map document_by_ordinal;
  journal::number_map document_by_z_number;
  messages::RetrievalFlags flags;
  RequestFields fields;
  render::DocumentKind document_kind = render::DocumentKind::None;
  std::vector<std::string> journal_lines;   // the journal text, a line each (never shown)
  render::PackedLines rendered_lines;  // what the window's list shows, in one buffer

 private:
  // Steps around every retrieval: the journal emptied, the flag set, the attention window up.
  void BeginRetrieval();
  RetrievalResult EndRetrieval(RetrievalResult::Outcome outcome);
  // The journal lines parsed, loaded and rendered into the rendered lines.
  RetrievalResult::Outcome ShowAssembledJournal();
  // One document, fragment by fragment.
  struct FetchedDocument;
  FetchedDocument FetchDocument(int document_type, int number, AssemblyReport& report);
  // The progress text of the document just done.
  void ShowProgress();
  DateSpan ReadDateFields() const;
  // The date search, sent again up to the retries while its exchange fails on the line (no
  // reply, a damaged one); an answer that refuses is the register's word and is kept.
  RegisterAnswer SearchDates(const DateSpan& span);
  // A Quendar request that failed: the register's code, or the line's reason when no code
  // came back. The Datecs status reporter tells its own.
  void ReportFailedRequest(const RegisterAnswer& answer);
  bool stop_requested() const;
  // Tells the user of the register's refusal of a document; gives the text they read.
  std::string ReportRefusal(const RegisterAnswer& answer);

  Surroundings ui_;
  messages::StatusReporter reporter_;
  RegisterRequests requests_;
  std::string temp_xml_path_;
  std::atomic<bool> stop_request_{false};
  AssemblyReport last_assembly_;
  int retries_ = 1;
  render::Organisation organisation_;
  std::string date_search_code_;  // the error code of the last date search
  RetrievalProgress progress_;
};

}  // namespace retrieval
