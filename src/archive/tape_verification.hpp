// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a tape is whole and adds up: documents fed one at a time in number order, each
// Z-report compared with the receipts of its shift (every document after the previous
// Z-report up to it). Only the current shift's sums are kept, never the tape.
//
// Amounts are the journal text's own whole numbers of hundredths, added as integers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "archive/archived_document.hpp"
#include "archive/archived_document_reader.hpp"
#include "archive/tape_store.hpp"

namespace archive {

// One value of a finding.
struct Figure {
  enum class Unit { Hundredths, Whole, Text };
  Unit unit = Unit::Text;
  std::int64_t number = 0;  // of Hundredths and Whole
  std::string text;         // of Text (Windows-1251)

  static Figure hundredths(std::int64_t n) { return {Unit::Hundredths, n, {}}; }
  static Figure whole(std::int64_t n) { return {Unit::Whole, n, {}}; }
  static Figure words(std::string t) { return {Unit::Text, 0, std::move(t)}; }
};

struct Finding {
  // What was looked at. `what` says it in the words scripts read; the check and its
  // subject let a window say it in a sentence.
  enum class Check {
    NotFetched,        // numbers the archive does not hold yet
    AbsentOnRegister,  // numbers the register does not have, though it has a later one
    EarlierTime,       // subject: the previous document's date and time
    Unreadable,        // subject: why
    NoWholeDocument,
    ReceiptNumber,
    ZReportNumber,
    NotCheckable,      // a Z-report with no Z-report before it in the archive
    Receipts,          // the documents after the last Z-report
    Sales,             // subject: the payment form
    Returns,
    TurnoverSales,     // subject: the tax group
    TurnoverReturns,
    TaxSales,
    TaxReturns,
    ExciseSales,
    ExciseReturns,
    SaleReceipts,
    ReturnReceipts,
    CashIn,            // subject: the cash form
    CashOut,
    DamagedFile,       // subject: what is wrong with the file (English, SQLite's words)
    BelowTape,         // numbers below the register's tape; subject: the tape's first number
  };

  // A note tells something that is not wrong: a Z-report that cannot be checked, the
  // documents after the last Z-report.
  bool note = false;
  Check check = Check::Unreadable;
  std::string subject;  // Windows-1251
  // The document concerned, or the first and last of a run; 0 for the file as a whole.
  std::int64_t first_document = 0;
  std::int64_t last_document = 0;
  std::optional<std::int64_t> z_number;  // the Z-report the finding is about
  std::string what;                      // Windows-1251: it may name a payment form
  std::optional<Figure> expected;
  std::optional<Figure> found;

  // found less expected, when both are numbers.
  std::optional<std::int64_t> difference() const;
};

using FindingSink = std::function<void(const Finding&)>;

struct VerificationSummary {
  std::int64_t documents = 0;       // read from the archive
  std::int64_t z_reports = 0;
  std::int64_t z_reports_checked = 0;  // against a whole shift
  std::int64_t findings = 0;        // notes not counted
};

class TapeVerification {
 public:
  explicit TapeVerification(FindingSink sink) : sink_(std::move(sink)) {}

  // The next document in number order.
  void add(const ArchivedDocument& document);
  // Numbers first..last, between documents added before and after, or before the first
  // one, that the archive does not hold: absent (the register said it does not have
  // them, though it has a later one) or not fetched yet. Each is a finding; the receipt
  // and Z-report numbers that follow may skip as many.
  void not_held(std::int64_t first, std::int64_t last, bool absent);
  // Numbers first..last below the register's tape, which begins at tape_first: not held,
  // and rightly so. The first run is one note; the receipt and Z-report numbers that
  // follow may skip as many, as after numbers not held.
  void below_tape(std::int64_t first, std::int64_t last, std::int64_t tape_first);
  // After the last document: the documents after the last Z-report, as notes.
  void finish();
  // While on, the documents added are those before the selection, from the Z-report that
  // begins the selection's first shift: read for that shift, nothing told or counted.
  void read_before_selection(bool on);

  const VerificationSummary& summary() const { return summary_; }

 private:
  struct PaymentSums {
    std::int64_t sales = 0, returns = 0;
  };
  struct GroupSums {
    std::int64_t turnover_sales = 0, turnover_returns = 0, tax_sales = 0, tax_returns = 0, excise_sales = 0,
                 excise_returns = 0;
  };
  struct CashSums {
    std::int64_t in = 0, out = 0;
  };
  // A shift's figures, from its receipts or as its Z-report gives them.
  struct ShiftSums {
    std::map<std::string, PaymentSums> payments;  // by payment form name
    std::map<std::string, GroupSums> groups;      // by tax group
    std::map<std::string, CashSums> cash;         // by cash form name
    std::int64_t sale_receipts = 0, return_receipts = 0;
  };

  void read_receipt(const ArchivedDocument& document, const journal::receipt& receipt);
  void read_z_report(const ArchivedDocument& document, const journal::z_report& z);
  // A receipt or Z number that does not follow on from the previous one beyond what the
  // documents not held since could explain; then it is the previous one.
  void check_follows_on(const ArchivedDocument& document, std::optional<std::int64_t> z_number, bool z_report,
                        std::int64_t number, std::optional<std::int64_t>& previous, std::int64_t& not_held_since);
  void compare(const ArchivedDocument& document, std::int64_t z_number, const ShiftSums& z);
  void report(Finding finding);
  void flush_run();
  void start_shift();

  FindingSink sink_;
  VerificationSummary summary_;
  bool before_selection_ = false;
  ArchivedDocumentReader reader_;
  // A run of numbers not held, told once the run has ended.
  std::optional<Finding> pending_run_;
  bool pending_run_absent_ = false;
  bool below_tape_told_ = false;
  std::optional<std::string> previous_timestamp_;
  std::optional<std::int64_t> previous_receipt_number_;
  std::optional<std::int64_t> previous_z_number_;
  // Numbers not held since the last receipt and since the last Z-report.
  std::int64_t not_held_since_receipt_ = 0;
  std::int64_t not_held_since_z_ = 0;
  // The current shift: whether its start (a Z-report) was read, and its sums.
  bool shift_begun_ = false;
  ShiftSums shift_;
  std::int64_t shift_documents_ = 0;
  std::int64_t shift_first_document_ = 0;
  std::int64_t last_document_ = 0;
};

// The one finding of an archive file that SQLite's quick check finds damaged (what
// TapeArchive::damage reports): told before anything in the file is read.
Finding damage_finding(const std::string& damage);

// Verifies the selected documents of a kept tape: those it holds in number order, the
// numbers of the selection it does not hold, and for a selection by numbers the numbers
// before the first held one and after the last up to LAST (not "end"). Numbers below
// where the archive knows the register's tape to begin (and below every document held)
// are one note, not findings. The
// selection's first shift is checked too when the archive holds the Z-report before it.
// Throws ArchiveError when the store fails.
VerificationSummary verify_archive(const TapeStore& tape, const ArchiveSelection& selection,
                                   const FindingSink& sink, const std::function<void()>& between_documents = {});

}  // namespace archive
