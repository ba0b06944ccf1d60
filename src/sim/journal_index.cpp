// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/journal_index.hpp"

#include <algorithm>
#include <charconv>

#include "journal/journal_errors.hpp"
#include "journal/xml_dom.hpp"
#include "sim/whole_number.hpp"

namespace sim {

namespace {

bool all_digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number_at(std::string_view s, std::size_t at, std::size_t length) {
  int value = 0;
  for (char c : s.substr(at, length)) value = value * 10 + (c - '0');
  return value;
}

std::optional<MinuteStamp> checked_stamp(int year, int month, int day, int hour, int minute) {
  static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1] || hour > 23 || minute > 59)
    return std::nullopt;
  return ((((static_cast<MinuteStamp>(year) * 100 + month) * 100 + day) * 100 + hour) * 100) + minute;
}

// One element among the root's children, as a byte range of the text.
struct ElementSpan {
  std::string name;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The root's child elements. The text has passed the XML parser already, so the scan can
// rely on well-formed markup; it only has to step over declarations, comments, CDATA and
// quoted attribute values that may hold "<" or ">".
std::vector<ElementSpan> root_children(std::string_view t) {
  std::vector<ElementSpan> out;
  int depth = 0;
  ElementSpan current;
  std::size_t i = 0;
  const auto skip_past = [&](std::string_view marker) {
    const std::size_t p = t.find(marker, i);
    i = p == std::string_view::npos ? t.size() : p + marker.size();
  };
  while ((i = t.find('<', i)) != std::string_view::npos) {
    const std::string_view rest = t.substr(i);
    if (rest.starts_with("<?")) {
      skip_past("?>");
    } else if (rest.starts_with("<!--")) {
      skip_past("-->");
    } else if (rest.starts_with("<![CDATA[")) {
      skip_past("]]>");
    } else if (rest.starts_with("<!")) {
      int brackets = 0;  // a document type declaration may carry an internal subset
      for (++i; i < t.size(); ++i) {
        if (t[i] == '[') ++brackets;
        if (t[i] == ']') --brackets;
        if (t[i] == '>' && brackets <= 0) break;
      }
      ++i;
    } else {
      std::size_t j = i + 1;
      char quote = 0;
      for (; j < t.size(); ++j) {
        const char c = t[j];
        if (quote != 0) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (j >= t.size()) break;
      const std::size_t tag_end = j + 1;
      if (rest[1] == '/') {
        if (--depth == 1) {
          current.end = tag_end;
          out.push_back(current);
        }
      } else {
        const std::size_t name_end = t.find_first_of(" \t\r\n/>", i + 1);
        const std::string name(t.substr(i + 1, name_end - i - 1));
        const bool empty_element = t[j - 1] == '/';
        if (depth == 1) current = {name, i, tag_end};
        if (!empty_element) {
          ++depth;
        } else if (depth == 1) {
          out.push_back(current);
        }
      }
      i = tag_end;
    }
  }
  return out;
}

std::optional<std::string> attribute(const journal::dom::Node& node, std::string_view name) {
  for (const auto& a : node.attributes())
    if (a.name() == name) return a.value();
  return std::nullopt;
}

std::optional<journal::dom::Node> child(const journal::dom::Node& node, std::string_view name) {
  for (const auto& c : node.children())
    if (c.name() == name) return c;
  return std::nullopt;
}

long checked_number(const std::string& value, const char* what, std::size_t position) {
  const auto n = whole_number(value);
  if (!n)
    throw JournalError(std::string(what) + " of document " + std::to_string(position) +
                       " is not a whole number: " + value);
  return *n;
}

// An element's text with the DI attribute of its start tag set to number, added after the
// element's name where it has none. The text has passed the XML parser: its attributes are
// name, "=", a quoted value, with blanks between.
std::string with_number(std::string_view element, long number) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  const std::string value = std::to_string(number);
  std::size_t i = element.find_first_of(" \t\r\n/>");
  const std::size_t name_end = i;
  while (i < element.size()) {
    while (i < element.size() && blank(element[i])) ++i;
    if (i >= element.size() || element[i] == '/' || element[i] == '>') break;
    const std::size_t attribute = i;
    while (i < element.size() && element[i] != '=' && !blank(element[i])) ++i;
    const std::string_view attribute_name = element.substr(attribute, i - attribute);
    i = element.find_first_of("\"'", i);
    if (i == std::string_view::npos) break;
    const std::size_t close = element.find(element[i], i + 1);
    if (close == std::string_view::npos) break;
    if (attribute_name == "DI")
      return std::string(element.substr(0, i + 1)) + value + std::string(element.substr(close));
    i = close + 1;
  }
  return std::string(element.substr(0, name_end)) + " DI=\"" + value + "\"" + std::string(element.substr(name_end));
}

}  // namespace

std::optional<MinuteStamp> minute_stamp_of_ts(std::string_view ts) {
  if (ts.size() != 14 || !all_digits(ts)) return std::nullopt;
  return checked_stamp(number_at(ts, 0, 4), number_at(ts, 4, 2), number_at(ts, 6, 2),
                       number_at(ts, 8, 2), number_at(ts, 10, 2));
}

std::optional<MinuteStamp> minute_stamp_of(std::string_view ddmmyy, std::string_view hhmm) {
  if (ddmmyy.size() != 6 || !all_digits(ddmmyy) || hhmm.size() != 4 || !all_digits(hhmm))
    return std::nullopt;
  return checked_stamp(2000 + number_at(ddmmyy, 4, 2), number_at(ddmmyy, 2, 2), number_at(ddmmyy, 0, 2),
                       number_at(hhmm, 0, 2), number_at(hhmm, 2, 2));
}

JournalIndex JournalIndex::from_text(std::string_view journal_text, std::optional<long> first_number) {
  try {
    (void)journal::dom::Document::parse(journal_text);
  } catch (const journal::JournalError& e) {
    throw JournalError(std::string("the journal is not well-formed XML: ") + e.what());
  }
  // Each document is parsed once more on its own, under the text's own declaration, to
  // read its numbers and its moment.
  std::string declaration;
  if (journal_text.starts_with("<?xml")) {
    const std::size_t end = journal_text.find("?>");
    declaration = std::string(journal_text.substr(0, end + 2));
  }

  JournalIndex index;
  const std::vector<ElementSpan> children = root_children(journal_text);
  for (std::size_t k = 0; k < children.size(); ++k) {
    const ElementSpan& dat = children[k];
    const std::size_t position = index.documents_.size() + 1;
    if (dat.name != "DAT")
      throw JournalError("the journal holds <" + dat.name + "> where document " + std::to_string(position) +
                         " should begin with <DAT>");
    JournalDocument doc;
    const auto element = [&](const ElementSpan& span) {
      const std::string_view bytes = journal_text.substr(span.begin, span.end - span.begin);
      return first_number ? with_number(bytes, *first_number + static_cast<long>(position) - 1) : std::string(bytes);
    };
    doc.bytes = element(dat);
    if (k + 1 < children.size() && children[k + 1].name == "MAC") doc.bytes += element(children[++k]);

    try {
      const auto parsed = journal::dom::Document::parse(declaration + "<RQ>" + doc.bytes + "</RQ>");
      const journal::dom::Node dat_node = *child(parsed.root(), "DAT");
      const auto di = attribute(dat_node, "DI");
      doc.number = di ? checked_number(*di, "DI", position) : static_cast<long>(position);
      if (const auto z = child(dat_node, "Z")) {
        if (const auto no = attribute(*z, "NO")) doc.z_number = checked_number(*no, "Z NO", position);
      }
      if (const auto ts = child(dat_node, "TS")) doc.moment = minute_stamp_of_ts(ts->value());
      if (index.factory_number_.empty())
        if (const auto zn = attribute(dat_node, "ZN")) index.factory_number_ = *zn;
      if (index.fiscal_number_.empty())
        if (const auto fn = attribute(dat_node, "FN")) index.fiscal_number_ = *fn;
    } catch (const journal::JournalError& e) {
      // Entities declared for the whole text are unknown to the document on its own.
      throw JournalError("document " + std::to_string(position) + " cannot be read on its own: " + e.what());
    }

    const std::size_t at = index.documents_.size();
    index.by_number_.emplace(doc.number, at);
    if (doc.z_number) index.by_z_number_.emplace(*doc.z_number, at);
    index.documents_.push_back(std::move(doc));
  }
  return index;
}

const JournalDocument* JournalIndex::by_number(long number) const {
  const auto it = by_number_.find(number);
  return it == by_number_.end() ? nullptr : &documents_[it->second];
}

const JournalDocument* JournalIndex::by_z_number(long z_number) const {
  const auto it = by_z_number_.find(z_number);
  return it == by_z_number_.end() ? nullptr : &documents_[it->second];
}

std::optional<std::pair<long, long>> JournalIndex::numbers_between(MinuteStamp from, MinuteStamp to) const {
  std::optional<std::pair<long, long>> range;
  for (const JournalDocument& doc : documents_) {
    if (!doc.moment || *doc.moment < from || *doc.moment > to) continue;
    if (!range)
      range = std::pair{doc.number, doc.number};
    else
      range = std::pair{std::min(range->first, doc.number), std::max(range->second, doc.number)};
  }
  return range;
}

}  // namespace sim
