// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces every rendered line is built from: placing a value so that it ends at a
// fixed column, tax letters, dates, number formats and the document head. Lines are
// Windows-1251 texts; a column is a byte, counted from 1, and blanks at the end of a
// line belong to it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "journal/journal_errors.hpp"
#include "journal/journal_container.hpp"
#include "journal/records.hpp"
#include "render/packed_lines.hpp"
#include "render/render_context.hpp"

namespace render {

// The target list: rendering only appends to it.
using LineList = std::vector<std::string>;

// Where rendered lines go, in order: into a list that keeps them (the journal window's),
// or on to a file or a terminal as they are made, so that no caller need hold them all.
class LineSink {
 public:
  explicit LineSink(LineList& lines) : lines_(&lines) {}
  explicit LineSink(PackedLines& lines) : packed_(&lines) {}
  explicit LineSink(std::function<void(std::string&&)> consume) : consume_(std::move(consume)) {}
  // A sink that can take back every line handed on so far (a file not yet in place):
  // a text that fails late is then rendered straight into it.
  LineSink(std::function<void(std::string&&)> consume, std::function<void()> discard)
      : consume_(std::move(consume)), discard_(std::move(discard)) {}

  bool can_discard() const { return static_cast<bool>(discard_); }
  void discard() { discard_(); }

  void push_back(std::string line) {
    if (packed_)
      packed_->push_back(line);
    else if (lines_)
      lines_->push_back(std::move(line));
    else
      consume_(std::move(line));
    // A line the sink did not keep lends its room to the next one.
    if (line.capacity() > spare_.capacity()) spare_ = std::move(line);
  }
  template <class... Args>
  void emplace_back(Args&&... args) {
    if constexpr (sizeof...(Args) == 1 && ((std::is_convertible_v<Args, std::string_view> &&
                                            !std::is_same_v<std::remove_cvref_t<Args>, std::string>) && ...)) {
      const std::string_view text(std::forward<Args>(args)...);
      if (packed_) {
        packed_->push_back(text);
      } else {
        spare_.assign(text);
        push_back(std::move(spare_));
      }
    } else {
      push_back(std::string(std::forward<Args>(args)...));
    }
  }
  // A line to be built and handed back, beginning with start, in the room of lines
  // handed on before where there is one (as LineBuffer otherwise).
  std::string line_buffer(std::string_view start) {
    std::string line = std::move(spare_);
    spare_ = std::string();
    line.reserve(start.size() + 40);
    line.assign(start);
    return line;
  }

 private:
  LineList* lines_ = nullptr;
  PackedLines* packed_ = nullptr;
  std::function<void(std::string&&)> consume_;
  std::function<void()> discard_;
  std::string spare_;
};

// A value that would be written outside its line. Like a conversion failure it ends the
// rendering, and the retrieval reports the journal as unreadable.
class IndexError : public journal::JournalError {
 public:
  using journal::JournalError::JournalError;
};

// The column at which PlaceRight ends the value.
enum class Column : int { At37 = 1, At30 = 2, At11 = 3, At24 = 4 };

// A left text shorter than 38 characters first gets 35 blanks (always 35); then the value
// replaces the characters that end at the column. The length does not grow any further,
// so a second call on the same text appends nothing. Throws IndexError when the value
// would begin before column 1 or end after the text.
std::string PlaceRight(std::string left, std::string_view right, Column kind);

// PlaceRight on the part of `line` after its first `indent` characters, in place: the
// line "  " + PlaceRight (left, ...) built without a second copy.
void PlaceRightAfter(std::string& line, std::size_t indent, std::string_view right, Column kind);

// An empty line with room for the blanks PlaceRight appends, so that building it
// allocates once.
std::string LineBuffer(std::string_view start);

// " ", A (Latin), Б, В, Г, Д, * for the groups 0..6; "Много параметров" for any other.
// Wide, so that the letter after a group's own (group + 1) is always defined.
std::string_view TaxLetter(std::int64_t group);

// DD.MM.YYYY, two blanks, and with_time HH:MM, from YYYYMMDDhhmmss; the parts a short
// text lacks are left out.
std::string FormatTimestamp(std::string_view timestamp, bool with_time);

// The tax group written in a TX attribute: leading blanks, an optional sign, digits,
// nothing else. Throws journal::ConversionError otherwise.
std::int32_t TaxGroupNumber(std::string_view text);

// Fixed-point text of the exact value, rounded once, ties away from zero, at whichever is
// coarser: precision significant digits or decimals places. Digits below the precision
// come out as zeros (123456789 at 8 and 2 is 123456790.00); a value that rounds to zero
// has no minus sign.
std::string FormatFixed(double value, int precision, int decimals);

// FormatFixed (value, 8, 0) with the digits grouped in threes from the right.
std::string FormatGrouped(double value);

// The blank, or on Windows the user's thousands separator in Windows-1251.
const std::string& ThousandsSeparator();

// Amounts are hundredths and quantities thousandths; the single-precision value is
// promoted before the product is taken.
std::string AmountText(float v);   // FormatFixed (v * 0.01, 8, 2)
std::string AmountText7(float v);  // FormatFixed (v * 0.01, 7, 2)
std::string RateText(float v);     // FormatFixed (v, 8, 2)
std::string RateText7(float v);    // FormatFixed (v, 7, 2)
std::string CountText(float v);    // FormatFixed (v, 8, 0)
std::string QuantityText(float v); // FormatFixed (v * 0.001, 8, 0)

// The whole part of a value (truncated toward zero) in decimal, exactly.
std::string WholeText(float v);

// The record under index, or one with its initial values when the list lacks it: what
// reading a missing entry would create, without adding it to the journal.
template <class Record>
const Record& EntryOrInitial(const journal::record_list<Record>& list, std::int32_t index) {
  static const Record kInitial{};
  const Record* found = list.find(index);
  return found == nullptr ? kInitial : *found;
}

inline constexpr std::string_view kSeparatorLine = "  --------------------------------------";

// Organisation, town, and the factory number of this document with the fiscal number of
// the journal's first document, whichever document this is (kept by the journal after
// that document is rendered and dropped).
void AppendDocumentHead(const journal::loaded_journal& journal, const journal::fiscal_document& document,
                        LineSink& lines, const Organisation& organisation = {});

}  // namespace render
