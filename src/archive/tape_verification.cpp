// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/tape_verification.hpp"

#include <cmath>
#include <algorithm>
#include <limits>
#include <set>
#include <utility>

#include "archive/stored_row.hpp"
#include "journal/journal_errors.hpp"
#include "render/rendering_helpers.hpp"

namespace archive {

namespace {

// A count or number the model holds as a single, as a whole number.
std::int64_t whole_of(float value) {
  if (!std::isfinite(value) || std::fabs(value) > 9.0e15f) return 0;
  return static_cast<std::int64_t>(std::llround(value));
}

// "YYYY-MM-DD hh:mm:ss" of a TS, or the TS as it stands when it is not 14 digits.
std::string readable_timestamp(const std::string& ts) {
  if (ts.size() != 14) return ts;
  for (char c : ts)
    if (c < '0' || c > '9') return ts;
  return ts.substr(0, 4) + "-" + ts.substr(4, 2) + "-" + ts.substr(6, 2) + " " + ts.substr(8, 2) + ":" +
         ts.substr(10, 2) + ":" + ts.substr(12, 2);
}

using Check = Finding::Check;

// The figure's name as the lines for scripts give it.
std::string what_of(Check check, const std::string& subject) {
  switch (check) {
    case Check::Receipts: return "receipts";
    case Check::Sales: return "sales " + subject;
    case Check::Returns: return "returns " + subject;
    case Check::TurnoverSales: return "turnover of sales, tax group " + subject;
    case Check::TurnoverReturns: return "turnover of returns, tax group " + subject;
    case Check::TaxSales: return "tax of sales, tax group " + subject;
    case Check::TaxReturns: return "tax of returns, tax group " + subject;
    case Check::ExciseSales: return "excise of sales, tax group " + subject;
    case Check::ExciseReturns: return "excise of returns, tax group " + subject;
    case Check::SaleReceipts: return "sale receipts";
    case Check::ReturnReceipts: return "return receipts";
    case Check::CashIn: return "cash in " + subject;
    case Check::CashOut: return "cash out " + subject;
    default: return subject;
  }
}

template <class Sums>
std::set<std::string> keys_of(const std::map<std::string, Sums>& a, const std::map<std::string, Sums>& b) {
  std::set<std::string> keys;
  for (const auto& [key, sums] : a) keys.insert(key);
  for (const auto& [key, sums] : b) keys.insert(key);
  return keys;
}

template <class Sums>
Sums sums_or_zero(const std::map<std::string, Sums>& map, const std::string& key) {
  const auto it = map.find(key);
  return it == map.end() ? Sums{} : it->second;
}

}  // namespace

std::optional<std::int64_t> Finding::difference() const {
  if (!expected || !found || expected->unit == Figure::Unit::Text || found->unit == Figure::Unit::Text)
    return std::nullopt;
  return found->number - expected->number;
}

void TapeVerification::read_before_selection(bool on) {
  flush_run();
  before_selection_ = on;
  if (!on) summary_ = {};
}

void TapeVerification::report(Finding finding) {
  if (before_selection_) return;
  if (!finding.note) ++summary_.findings;
  sink_(finding);
}

void TapeVerification::start_shift() {
  shift_ = {};
  shift_documents_ = 0;
  shift_first_document_ = 0;
}

void TapeVerification::not_held(std::int64_t first, std::int64_t last, bool absent) {
  const std::int64_t count = last - first + 1;
  not_held_since_receipt_ += count;
  not_held_since_z_ += count;
  // A run told in parts is one run.
  if (pending_run_ && pending_run_absent_ == absent && pending_run_->last_document + 1 == first) {
    pending_run_->last_document = last;
    return;
  }
  flush_run();
  Finding f;
  f.first_document = first;
  f.last_document = last;
  f.check = absent ? Check::AbsentOnRegister : Check::NotFetched;
  f.what = absent ? "absent on the register, which holds a later document" : "not in the archive: archive fetches it";
  f.expected = Figure::words("held");
  f.found = Figure::words(absent ? "absent" : "not fetched");
  pending_run_ = std::move(f);
  pending_run_absent_ = absent;
}

void TapeVerification::below_tape(std::int64_t first, std::int64_t last, std::int64_t tape_first) {
  flush_run();
  const std::int64_t count = std::int64_t{last} - first + 1;
  not_held_since_receipt_ += count;
  not_held_since_z_ += count;
  if (below_tape_told_ || before_selection_) return;
  below_tape_told_ = true;
  Finding f;
  f.note = true;
  f.check = Finding::Check::BelowTape;
  f.subject = std::to_string(tape_first);
  f.first_document = first;
  f.last_document = last;
  f.what = "the register's tape begins at " + f.subject;
  report(std::move(f));
}

void TapeVerification::flush_run() {
  if (!pending_run_) return;
  Finding f = std::move(*pending_run_);
  pending_run_.reset();
  report(std::move(f));
}

void TapeVerification::add(const ArchivedDocument& document) {
  flush_run();
  ++summary_.documents;
  last_document_ = document.number;
  if (!document.timestamp.empty()) {
    if (previous_timestamp_ && document.timestamp < *previous_timestamp_) {
      Finding f;
      f.first_document = f.last_document = document.number;
      f.check = Check::EarlierTime;
      f.subject = readable_timestamp(*previous_timestamp_);
      f.what = "date and time before the previous document's";
      f.expected = Figure::words("not before " + readable_timestamp(*previous_timestamp_));
      f.found = Figure::words(readable_timestamp(document.timestamp));
      report(std::move(f));
    }
    previous_timestamp_ = document.timestamp;
  }

  bool read = false;
  if (!document.unreadable.empty()) {
    Finding f;
    f.first_document = f.last_document = document.number;
    f.check = Check::Unreadable;
    f.subject = document.unreadable;
    f.what = "cannot be read: " + document.unreadable;
    report(std::move(f));
    ++not_held_since_receipt_;
    ++not_held_since_z_;
    return;
  }
  try {
    reader_.read(journal_line(document), [&](const journal::loaded_journal&, const journal::fiscal_document& loaded,
                                             std::int32_t) {
      if (read) return;  // a second DAT in one document's text is not the archive's document
      read = true;
      if (loaded.is_receipt)
        read_receipt(document, render::EntryOrInitial(loaded.receipts, loaded.receipt_key));
      else
        read_z_report(document, render::EntryOrInitial(loaded.zreports, loaded.zreport_key));
    });
  } catch (const journal::JournalError& e) {
    reader_ = ArchivedDocumentReader();  // what the failed text left behind is not the next one's
    Finding f;
    f.first_document = f.last_document = document.number;
    f.check = Check::Unreadable;
    f.subject = e.what();
    f.what = std::string("cannot be read: ") + e.what();
    report(std::move(f));
    read = true;
    ++not_held_since_receipt_;
    ++not_held_since_z_;
  }
  if (!read) {
    Finding f;
    f.first_document = f.last_document = document.number;
    f.check = Check::NoWholeDocument;
    f.what = "cannot be read: " + std::string(kNoWholeDocument);
    report(std::move(f));
    ++not_held_since_receipt_;
    ++not_held_since_z_;
  }
}

void TapeVerification::check_follows_on(const ArchivedDocument& document, std::optional<std::int64_t> z_number,
                                        bool z_report, std::int64_t number, std::optional<std::int64_t>& previous,
                                        std::int64_t& not_held_since) {
  if (previous) {
    const std::int64_t expected = *previous + 1;
    // Documents not held may be the ones between.
    if (number < expected || number > expected + not_held_since) {
      Finding f;
      f.first_document = f.last_document = document.number;
      f.z_number = z_number;
      f.check = z_report ? Check::ZReportNumber : Check::ReceiptNumber;
      f.what = z_report ? "Z-report number" : "receipt number";
      f.expected = Figure::whole(expected);
      f.found = Figure::whole(number);
      report(std::move(f));
    }
  }
  previous = number;
  not_held_since = 0;
}

void TapeVerification::read_receipt(const ArchivedDocument& document, const journal::receipt& r) {
  if (shift_documents_++ == 0) shift_first_document_ = document.number;
  const journal::sale_end& e = r.end;
  if (r.e_count > 0) {
    check_follows_on(document, std::nullopt, false, whole_of(e.NO), previous_receipt_number_,
                     not_held_since_receipt_);
  }
  // A cancelled receipt counts for nothing, nor does one without its end.
  if (e.VD == 1 || r.e_count == 0) return;

  for (const auto& [key, line] : r.i_list) shift_.cash[std::string(line.NM.view())].in += line.SM.whole;
  for (const auto& [key, line] : r.o_list) shift_.cash[std::string(line.NM.view())].out += line.SM.whole;

  const std::int64_t kind = whole_of(std::trunc(r.T));
  if (kind != 0 && kind != 1) return;  // a service receipt moves cash only
  const bool sale = kind == 0;
  (sale ? shift_.sale_receipts : shift_.return_receipts) += 1;
  for (const auto& [key, m] : r.m_list) {
    PaymentSums& form = shift_.payments[std::string(m.NM.view())];
    (sale ? form.sales : form.returns) += m.SM.whole - m.RM.whole;
  }
  const auto turnover = [&](std::string_view group, std::int64_t amount) {
    GroupSums& g = shift_.groups[std::string(group)];
    (sale ? g.turnover_sales : g.turnover_returns) += amount;
  };
  for (const auto& [key, line] : r.p_list) turnover(line.TX, line.SM.whole);
  for (const auto& [key, line] : r.cp_list) turnover(line.TX, line.SM.whole);
  for (const auto& [key, line] : r.s_list) turnover(line.TX, line.SM.whole);
  for (const auto& [key, line] : r.d_list) turnover(line.TX, -line.SM.whole);
  const auto tax = [&](std::string_view group, std::int64_t vat, std::int64_t excise) {
    GroupSums& g = shift_.groups[std::string(group)];
    (sale ? g.tax_sales : g.tax_returns) += vat;
    (sale ? g.excise_sales : g.excise_returns) += excise;
  };
  if (e.has_tx) {
    for (const auto& [key, t] : e.tx_list) tax(t.TX, t.TXSM.whole, t.DTSM.whole);
  } else if (e.TXAL == 0) {
    tax(e.TX, e.TXSM.whole, e.DTSM.whole);
  } else {
    // With excise the register puts the VAT into E's DT attributes and the excise into its TX ones.
    tax(e.TX, e.DTSM.whole, e.TXSM.whole);
  }
}

void TapeVerification::read_z_report(const ArchivedDocument& document, const journal::z_report& z) {
  ++summary_.z_reports;
  const std::int64_t z_number = whole_of(z.NO);
  check_follows_on(document, z_number, true, z_number, previous_z_number_, not_held_since_z_);

  if (shift_begun_ && !before_selection_) {
    ShiftSums reported;
    for (const auto& [key, m] : z.m_list) {
      PaymentSums& form = reported.payments[std::string(m.NM.view())];
      form.sales += m.SMI.whole;
      form.returns += m.SMO.whole;
    }
    for (const auto& [key, t] : z.txs_list) {
      GroupSums& g = reported.groups[std::string(t.TX.view())];
      g.turnover_sales += t.SMI.whole;
      g.turnover_returns += t.SMO.whole;
      g.tax_sales += t.TXI.whole;
      g.tax_returns += t.TXO.whole;
      g.excise_sales += t.DTI.whole;
      g.excise_returns += t.DTO.whole;
    }
    for (const auto& [key, io] : z.io_list) {
      CashSums& c = reported.cash[std::string(io.NM.view())];
      c.in += io.SMI.whole;
      c.out += io.SMO.whole;
    }
    for (const auto& [key, nc] : z.nc_list) {
      reported.sale_receipts += whole_of(nc.NI);
      reported.return_receipts += whole_of(nc.NO);
    }
    compare(document, z_number, reported);
    ++summary_.z_reports_checked;
  } else {
    Finding f;
    f.note = true;
    f.first_document = f.last_document = document.number;
    f.z_number = z_number;
    f.check = Check::NotCheckable;
    f.what = "not checkable: the archive holds no Z-report before it";
    report(std::move(f));
  }
  shift_begun_ = true;
  start_shift();
}

void TapeVerification::compare(const ArchivedDocument& document, std::int64_t z_number, const ShiftSums& z) {
  const auto figure = [&](Check check, const std::string& subject, std::int64_t expected, std::int64_t found,
                          bool amount) {
    if (expected == found) return;
    Finding f;
    f.first_document = f.last_document = document.number;
    f.z_number = z_number;
    f.check = check;
    f.subject = subject;
    f.what = what_of(check, subject);
    f.expected = amount ? Figure::hundredths(expected) : Figure::whole(expected);
    f.found = amount ? Figure::hundredths(found) : Figure::whole(found);
    report(std::move(f));
  };
  // Expected: what the Z-report says; found: what the shift's receipts add up to.
  for (const std::string& name : keys_of(z.payments, shift_.payments)) {
    const PaymentSums said = sums_or_zero(z.payments, name), added = sums_or_zero(shift_.payments, name);
    figure(Check::Sales, name, said.sales, added.sales, true);
    figure(Check::Returns, name, said.returns, added.returns, true);
  }
  for (const std::string& group : keys_of(z.groups, shift_.groups)) {
    const GroupSums said = sums_or_zero(z.groups, group), added = sums_or_zero(shift_.groups, group);
    figure(Check::TurnoverSales, group, said.turnover_sales, added.turnover_sales, true);
    figure(Check::TurnoverReturns, group, said.turnover_returns, added.turnover_returns, true);
    figure(Check::TaxSales, group, said.tax_sales, added.tax_sales, true);
    figure(Check::TaxReturns, group, said.tax_returns, added.tax_returns, true);
    figure(Check::ExciseSales, group, said.excise_sales, added.excise_sales, true);
    figure(Check::ExciseReturns, group, said.excise_returns, added.excise_returns, true);
  }
  figure(Check::SaleReceipts, {}, z.sale_receipts, shift_.sale_receipts, false);
  figure(Check::ReturnReceipts, {}, z.return_receipts, shift_.return_receipts, false);
  for (const std::string& name : keys_of(z.cash, shift_.cash)) {
    const CashSums said = sums_or_zero(z.cash, name), added = sums_or_zero(shift_.cash, name);
    figure(Check::CashIn, name, said.in, added.in, true);
    figure(Check::CashOut, name, said.out, added.out, true);
  }
}

void TapeVerification::finish() {
  flush_run();
  if (shift_documents_ == 0) return;
  const auto note = [&](Check check, const std::string& subject, Figure found) {
    Finding f;
    f.note = true;
    f.first_document = shift_first_document_;
    f.last_document = last_document_;
    f.check = check;
    f.subject = subject;
    f.what = "after the last Z-report: " + what_of(check, subject);
    f.found = std::move(found);
    report(std::move(f));
  };
  note(Check::Receipts, {}, Figure::whole(shift_documents_));
  note(Check::SaleReceipts, {}, Figure::whole(shift_.sale_receipts));
  note(Check::ReturnReceipts, {}, Figure::whole(shift_.return_receipts));
  // The sums that are not zero.
  const auto sum = [&](Check check, const std::string& subject, std::int64_t hundredths) {
    if (hundredths != 0) note(check, subject, Figure::hundredths(hundredths));
  };
  for (const auto& [name, form] : shift_.payments) {
    sum(Check::Sales, name, form.sales);
    sum(Check::Returns, name, form.returns);
  }
  for (const auto& [group, g] : shift_.groups) {
    sum(Check::TurnoverSales, group, g.turnover_sales);
    sum(Check::TurnoverReturns, group, g.turnover_returns);
    sum(Check::TaxSales, group, g.tax_sales);
    sum(Check::TaxReturns, group, g.tax_returns);
    sum(Check::ExciseSales, group, g.excise_sales);
    sum(Check::ExciseReturns, group, g.excise_returns);
  }
  for (const auto& [name, c] : shift_.cash) {
    sum(Check::CashIn, name, c.in);
    sum(Check::CashOut, name, c.out);
  }
}

namespace {

// The numbers first..last that the archive does not hold, split into runs that are all
// absent or all not fetched, so that a long run costs a few counts, not one per number.
// Absent numbers after the last held one are the end of the tape: told only when asked.
void tell_not_held(const TapeStore& tape, TapeVerification& verification, std::int64_t first, std::int64_t last,
                   bool tell_absent) {
  if (first > last) return;
  const std::int64_t absent = tape.absent_count(first, last);
  if (absent == 0 || absent == last - first + 1) {
    if (absent == 0 || tell_absent)
      verification.not_held(first, last, absent != 0);
    return;
  }
  const std::int64_t middle = first + (last - first) / 2;
  tell_not_held(tape, verification, first, middle, tell_absent);
  tell_not_held(tape, verification, middle + 1, last, tell_absent);
}

// The same, for numbers of the selection: those below the register's tape, which begins
// at tape_first, are below it, not missing.
void tell_not_held_on_tape(const TapeStore& tape, TapeVerification& verification, std::int64_t tape_first,
                           std::int64_t first, std::int64_t last, bool tell_absent) {
  if (first < tape_first && first <= last) {
    const std::int64_t below_last = std::min(last, tape_first - 1);
    verification.below_tape(first, below_last, tape_first);
    first = below_last + 1;
  }
  tell_not_held(tape, verification, first, last, tell_absent);
}

// The documents from the last Z-report before number `first` up to it, read for the shift
// that Z-report begins: the selection's first Z-report can then be checked. Searched
// backwards in growing steps, as a shift is short beside a tape.
// Numbers not held are told up to told_up_to: the selection tells its own.
void read_shift_before(const TapeStore& tape, TapeVerification& verification, std::int64_t first,
                       std::int64_t told_up_to) {
  std::optional<std::int64_t> z_document;
  for (std::int64_t last = first - 1, step = 64; last >= 1 && !z_document; step *= 4) {
    const std::int64_t from = std::max<std::int64_t>(1, last - step + 1);
    tape.visit({ArchiveSelection::By::DocumentNumbers, static_cast<std::int32_t>(from), static_cast<std::int32_t>(last), {}, {}},
               [&](const ArchivedDocument& document) {
                 if (document.is_z_report) z_document = document.number;
               });
    last = from - 1;
  }
  if (!z_document) return;
  verification.read_before_selection(true);
  std::int64_t previous = -1;
  tape.visit({ArchiveSelection::By::DocumentNumbers, static_cast<std::int32_t>(*z_document),
              static_cast<std::int32_t>(first - 1), {}, {}},
             [&](const ArchivedDocument& document) {
    if (previous >= 0) tell_not_held(tape, verification, previous + 1, std::int64_t{document.number} - 1, true);
    previous = document.number;
    verification.add(document);
  });
  tell_not_held(tape, verification, previous + 1, told_up_to, true);
  verification.read_before_selection(false);
}

}  // namespace

Finding damage_finding(const std::string& damage) {
  Finding f;
  f.check = Finding::Check::DamagedFile;
  f.subject = damage;
  f.what = "the archive file is damaged: " + damage;
  return f;
}

VerificationSummary verify_archive(const TapeStore& tape, const ArchiveSelection& selection,
                                   const FindingSink& sink, const std::function<void()>& between_documents) {
  using By = ArchiveSelection::By;
  TapeVerification verification(sink);
  const std::optional<TapeBeginning> beginning = tape.tape_beginning();
  std::int64_t tape_first = beginning ? beginning->first_number : 1;
  // A document held shows that the tape reached its number, so no hole above it is below
  // the tape, even where the register now tells a later beginning (its tape moved on).
  if (const std::optional<std::int64_t> lowest = tape.lowest_held()) tape_first = std::min(tape_first, *lowest);
  // By numbers, the selection's own numbers count from its first (the whole archive: 1);
  // by dates, only those between two selected documents.
  std::int64_t previous = selection.by == By::DocumentNumbers ? std::int64_t{selection.first} - 1
                          : selection.by == By::Everything    ? 0
                                                              : -1;
  bool first = true;
  tape.visit(selection, [&](const ArchivedDocument& document) {
    if (between_documents) between_documents();
    // A row whose number no register gives is told, and stands outside the numbering.
    if (document.number < 1 || document.number > kMaxDocumentNumber) {
      verification.add(document);
      return;
    }
    if (first) {
      first = false;
      read_shift_before(tape, verification, document.number,
                        previous >= 0 ? previous : std::int64_t{document.number} - 1);
    }
    if (previous >= 0)
      tell_not_held_on_tape(tape, verification, tape_first, previous + 1, std::int64_t{document.number} - 1, true);
    previous = document.number;
    verification.add(document);
  });
  // Up to an explicit LAST ("end" is the last held), what the archive has not fetched.
  const bool to_last = selection.by == By::DocumentNumbers && selection.last != std::numeric_limits<std::int32_t>::max();
  if (to_last)
    tell_not_held_on_tape(tape, verification, tape_first, std::max<std::int64_t>(previous, selection.first - 1) + 1,
                          selection.last, false);
  verification.finish();
  return verification.summary();
}

}  // namespace archive
