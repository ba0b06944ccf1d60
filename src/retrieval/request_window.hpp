// The request window's logic (TForm53 without its widgets): the journal it owns, the two
// number maps, the retrieval flags, the texts of its fields, its two lists, and the
// handlers that fetch documents by numbers or by dates, save the lines and have the
// register print. The desktop program wires widgets to it, talqen-cli fills its fields
// from the command line, tests drive it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_container.hpp"
#include "journal/sootv.hpp"
#include "link/clock.hpp"
#include "messages/dialogs.hpp"
#include "messages/printer_results.hpp"
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
  // Exchanges that got no intact reply (no reply, NAK, checksum mismatch).
  int link_failures = 0;
  // The time-out question was answered Cancel, or the user asked to stop.
  bool stopped = false;
  // A failure (a field 1 that is not a number) ended it; the documents before are kept.
  bool interrupted = false;
  // The serial device went away: the retrieval ended at once, what came is kept.
  bool port_lost = false;
  // temp.xml holds the journal text.
  bool saved = false;
};

// How a retrieval by numbers or by dates ended.
struct RetrievalResult {
  enum class Outcome {
    Shown,     // the journal text was loaded and rendered into ListBox2
    Rejected,  // the range or the dates were refused with a message; nothing was sent
    NoRange,   // the register gave no number range for the dates (one line in ListBox2)
    Failed,    // the failure lines stand at the end of ListBox2
  };
  Outcome outcome = Outcome::Rejected;
  AssemblyReport assembly;  // of the assembly that ran, if one did

  // Shown, and nothing lost or unanswered on the way.
  bool complete() const;
};

// Which of the three outcomes the date search had.
enum class FetchOutcome { Fetched, NoRange, Rejected };

// The window's default long time format: hours without a leading zero.
inline constexpr std::string_view kLongTimeFormat = "H:mm:ss";

// The time written with a format of H or HH (hours), h or hh (hours 1-12), m or mm, s or
// ss; every other character stands for itself.
std::string FormatTime(const device_link::LocalTime& time, std::string_view format);

class RequestWindow {
 public:
  // What the program around the window hands it.
  struct Surroundings {
    messages::ConsoleState& console;  // LastResult, written by PrinterResultsx
    messages::Dialogs& dialogs;
    AttentionWindow& attention;
    WindowFrame& frame;
    std::function<bool()> datecs_selected;  // the main window's variant choice, read at every request
    device_link::Clock& clock;              // today, for the date defaults
  };

  // temp_xml_path: where the journal text of every assembly is written.
  explicit RequestWindow(Surroundings surroundings, std::string temp_xml_path = "temp.xml");
  RequestWindow(const RequestWindow&) = delete;
  RequestWindow& operator=(const RequestWindow&) = delete;

  // The window's handlers.
  void FormCreate(std::string_view long_time_format = kLongTimeFormat);
  void ComboBox1Change();
  void Button2Click();  // "Закрыть"
  void FormClose();
  RetrievalResult Button1Click();  // "Получить" by numbers
  int ValidateNumberRange();
  AssemblyReport AssembleJournal(int first, int last, int documentType);
  RetrievalResult Button4Click();  // "Получить" by dates
  FetchOutcome FetchByDate();
  // "Вернуть номера": true when the register gave the numbers. A blank date or time
  // throws journal::ConversionError, with the number fields unchanged.
  bool Button5Click();
  bool FindNumbersByDate(int& first, int& last);
  void ShowRegisterError();
  void Button3Click();  // "Сохранить"
  // "Печать на РРО": true when the register was asked and reported no failure. A number
  // field that is not a number throws journal::ConversionError before anything is sent.
  bool Button6Click();

  // Writes ListBox2 as "Сохранить" does; a file that cannot be written is reported.
  bool SaveList(const std::string& path);

  // A stop from the user interface: the retrieval ends after the current document, as
  // after Cancel at the time-out question. Safe to call from a signal handler.
  void RequestStop() noexcept { stop_request_.store(true, std::memory_order_relaxed); }

  // The state the window owns.
  journal::rq rq;
  journal::control control;
  journal::sootv DocumentByOrdinal;
  journal::sootv DocumentByZNumber;
  messages::RetrievalFlags flags;  // Busy, StopRequested
  std::string Edit1 = "1";         // first number
  std::string Edit2 = "1";         // last number
  std::string Edit3 = "271828";    // password
  std::string Edit4, Edit5;        // start and end date, dd.mm.yy
  std::string Edit6, Edit7;        // start and end time, hh:mm
  int ComboBox1 = -1;              // the document type: render::document_choice; -1: none
  std::vector<std::string> ListBox1;  // the journal text, a line each
  std::vector<std::string> ListBox2;  // the rendered lines

 private:
  // Steps around every retrieval: the journal emptied, Busy set, the attention window up.
  void BeginRetrieval();
  RetrievalResult EndRetrieval(RetrievalResult::Outcome outcome);
  // ListBox1 parsed, loaded and rendered into ListBox2.
  RetrievalResult::Outcome ShowAssembledJournal();
  // One document, fragment by fragment.
  struct FetchedDocument;
  FetchedDocument FetchDocument(int documentType, int number, AssemblyReport& report);
  // The progress text of the document just done.
  void ShowProgress();
  DateSpan ReadDateFields() const;
  // A Quendar request that failed: the register's code, or the line's reason when no code
  // came back. The Datecs status reporter tells its own.
  void ReportFailedRequest(const RegisterAnswer& answer);
  bool stop_requested() const;

  Surroundings ui_;
  messages::StatusReporter reporter_;
  RegisterRequests requests_;
  std::string temp_xml_path_;
  std::atomic<bool> stop_request_{false};
  AssemblyReport last_assembly_;
  std::string date_search_code_;  // the error code of the last date search
  RetrievalProgress progress_;
};

}  // namespace retrieval
