// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated register's electronic control tape: a journal text cut into its
// documents (each a DAT element with the MAC that follows it, bytes as they stand in the
// text), found by document number, by Z-report number or by a span of time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

// A moment to the minute as the number YYYYMMDDhhmm, so that comparing numbers compares
// moments.
using MinuteStamp = std::int64_t;

// The stamp of a TS text (14 digits YYYYMMDDhhmmss; the seconds are dropped), or nullopt
// when the text is not such a moment.
std::optional<MinuteStamp> minute_stamp_of_ts(std::string_view ts);

// The stamp of a date DDMMYY (years 2000-2099) and a time HHMM as the journal commands
// send them, or nullopt when either is malformed.
std::optional<MinuteStamp> minute_stamp_of(std::string_view ddmmyy, std::string_view hhmm);

struct JournalDocument {
  long number = 0;                     // DAT.DI, else the position from 1
  std::optional<long> z_number;        // Z.NO of a Z-report
  std::optional<MinuteStamp> moment;   // from the TS child of DAT
  std::string bytes;                   // the DAT element, then its MAC element
};

class JournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class JournalIndex {
 public:
  // Reads a journal text such as temp.xml: an XML root whose children are DAT elements,
  // each followed by its MAC. Throws JournalError for a text that is not well-formed, a
  // root child other than DAT and MAC, or a DI or NO that is not a whole number.
  // With first_number, the documents are numbered from it in their order instead: the DI
  // of each DAT and MAC written anew (added where an element has none), as the tape of a
  // register whose numbering began long before.
  static JournalIndex from_text(std::string_view journal_text, std::optional<long> first_number = std::nullopt);

  const std::vector<JournalDocument>& documents() const { return documents_; }
  // The first document with that number; nullptr when there is none.
  const JournalDocument* by_number(long number) const;
  const JournalDocument* by_z_number(long z_number) const;
  // The lowest and highest document number whose moment lies in [from, to].
  std::optional<std::pair<long, long>> numbers_between(MinuteStamp from, MinuteStamp to) const;
  // DAT.ZN and DAT.FN of the first document that has them: the factory and the fiscal
  // number the register reports about itself.
  const std::string& factory_number() const { return factory_number_; }
  const std::string& fiscal_number() const { return fiscal_number_; }

 private:
  std::vector<JournalDocument> documents_;
  std::map<long, std::size_t> by_number_;
  std::map<long, std::size_t> by_z_number_;
  std::string factory_number_;
  std::string fiscal_number_;
};

}  // namespace sim
