// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/libxml2_setup.hpp"

#include <libxml/xmlversion.h>

#include <libxml/parserInternals.h>

#include <array>
#include <climits>
#include <cstdint>
#include <mutex>
#include <vector>

#include "journal/journal_errors.hpp"
#include "journal/xml_dom.hpp"
#include "text/cp1251.hpp"

namespace journal::dom {

std::string_view view(const xmlChar* s) {
  return s == nullptr ? std::string_view{} : std::string_view(reinterpret_cast<const char*>(s));
}

namespace {

// The Windows-1251 byte of every code point up to the highest the code page uses (0 where
// it has none), from the system's one table: values are converted on the loader's hot
// path, so this is a lookup rather than a search.
constexpr char32_t kHighestCodePoint = 0x2122;
static_assert([] {
  for (const char16_t cp : text::kCp1251Upper)
    if (cp > kHighestCodePoint) return false;
  return true;
}());

const std::array<unsigned char, kHighestCodePoint + 1>& byte_table() {
  static const auto table = [] {
    std::array<unsigned char, kHighestCodePoint + 1> t{};
    for (unsigned b = 0x80; b <= 0xFF; ++b)
      t[text::code_point_of(static_cast<unsigned char>(b))] = static_cast<unsigned char>(b);
    return t;
  }();
  return table;
}

}  // namespace

// Writes the text in Windows-1251 at out, which has room for utf8.size() bytes (every
// character takes at least one byte of UTF-8 and gives one byte here); returns the bytes
// written. A character Windows-1251 lacks becomes one "?". Nearly every value of a
// journal is ASCII, which is taken as it is; most others are two-byte Cyrillic.
std::size_t write_cp1251(char* out, std::string_view utf8) {
  const std::size_t n = utf8.size();
  const char* const s = utf8.data();
  std::size_t i = 0;
  for (std::uint64_t word; i + 8 <= n; i += 8) {
    std::memcpy(&word, s + i, 8);
    if ((word & 0x8080808080808080u) != 0) break;
    std::memcpy(out + i, &word, 8);
  }
  char* o = out + i;
  const auto& table = byte_table();
  while (i < n) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      *o++ = static_cast<char>(lead);
      ++i;
      continue;
    }
    char32_t cp;
    if (lead >= 0xC2 && lead <= 0xDF && i + 1 < n && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
      cp = static_cast<char32_t>((lead & 0x1Fu) << 6 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu));
      i += 2;
    } else {
      cp = text::decode_utf8(utf8, i);
    }
    if (cp < 0x80) {
      *o++ = static_cast<char>(cp);
    } else {
      const unsigned char b = cp <= kHighestCodePoint ? table[cp] : 0;
      *o++ = b != 0 ? static_cast<char>(b) : text::kUnmappable;
    }
  }
  return static_cast<std::size_t>(o - out);
}

void append_cp1251(std::string& out, std::string_view utf8) {
  const std::size_t start = out.size();
  out.resize(start + utf8.size());
  out.resize(start + write_cp1251(out.data() + start, utf8));
}

std::string to_cp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  append_cp1251(out, utf8);
  return out;
}

std::string to_cp1251(const xmlChar* utf8) { return to_cp1251(view(utf8)); }

// An ASCII text as it is (its length found on the way), anything else converted into
// scratch.
std::string_view cp1251_view(const xmlChar* utf8, std::string& scratch) {
  if (utf8 == nullptr) return {};
  const char* const s = reinterpret_cast<const char*>(utf8);
  std::size_t n = 0;
  while (s[n] != 0 && static_cast<unsigned char>(s[n]) < 0x80) ++n;
  if (s[n] == 0) return std::string_view(s, n);
  scratch = to_cp1251(std::string_view(s));
  return scratch;
}

namespace {

// The UTF-8 of every Windows-1251 byte.
struct utf8_sequence {
  unsigned char bytes[3];
  unsigned char size;
};

const utf8_sequence& utf8_of(unsigned char byte) {
  static const auto table = [] {
    std::array<utf8_sequence, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
      const char32_t cp = text::code_point_of(static_cast<unsigned char>(b));
      utf8_sequence& u = t[b];
      if (cp < 0x80) {
        u = {{static_cast<unsigned char>(cp)}, 1};
      } else if (cp < 0x800) {
        u = {{static_cast<unsigned char>(0xC0 | (cp >> 6)), static_cast<unsigned char>(0x80 | (cp & 0x3F))}, 2};
      } else {
        u = {{static_cast<unsigned char>(0xE0 | (cp >> 12)), static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F)),
              static_cast<unsigned char>(0x80 | (cp & 0x3F))},
             3};
      }
    }
    return t;
  }();
  return table[byte];
}

// Windows-1251 is decoded with the system's own table rather than the platform's
// converter: the result is the same everywhere, iconv or not, and every byte (0x98
// included) survives the round trip back to Windows-1251.
int windows_1251_to_utf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  if (out == nullptr || outlen == nullptr || inlen == nullptr) return -1;
  if (in == nullptr) {
    *outlen = 0;
    *inlen = 0;
    return 0;
  }
  unsigned char* o = out;
  unsigned char* const o_end = out + *outlen;
  const unsigned char* i = in;
  const unsigned char* const i_end = in + *inlen;
  for (; i < i_end; ++i) {
    // Runs of ASCII, nearly all of a journal, eight bytes at a time.
    while (i_end - i >= 8 && o_end - o >= 8) {
      std::uint64_t word;
      std::memcpy(&word, i, 8);
      if ((word & 0x8080808080808080u) != 0) break;
      std::memcpy(o, i, 8);
      i += 8;
      o += 8;
    }
    if (i == i_end) break;
    const utf8_sequence& c = utf8_of(*i);
    if (o_end - o < c.size) break;
    *o++ = c.bytes[0];
    if (c.size > 1) *o++ = c.bytes[1];
    if (c.size > 2) *o++ = c.bytes[2];
  }
  *outlen = static_cast<int>(o - out);
  *inlen = static_cast<int>(i - in);
  return *outlen;
}

// Journal texts never need anything from outside; refusing every external load keeps a
// hostile text from reading local files whatever the parser options.
xmlParserInputPtr refuse_external(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

// No element of a journal has more than a score of attributes. libxml2 checks the
// attributes of a start tag for duplicates pair by pair, so a tag with a hundred thousand
// of them would hold the program for many seconds; such a text is refused before.
constexpr std::size_t kMaxAttributes = 256;

// A text given whole, as the attribute count check reads it.
class whole_text {
 public:
  explicit whole_text(std::string_view text) : text_(text) {}
  std::size_t size() const { return text_.size(); }
  char at(std::size_t i) const { return text_[i]; }
  bool matches(std::size_t at, std::string_view s) const { return text_.substr(at).starts_with(s); }
  std::size_t find(char c, std::size_t from) const { return text_.find(c, from); }
  std::size_t find(std::string_view s, std::size_t from) const { return text_.find(s, from); }
  // The first quote or ">" from there on; size() if none.
  std::size_t find_mark(std::size_t from) const {
    while (from < text_.size() && text_[from] != '"' && text_[from] != '\'' && text_[from] != '>') ++from;
    return from;
  }

 private:
  std::string_view text_;
};

// Lines read as the text they make joined, each followed by CR LF, without joining them.
class joined_lines {
 public:
  explicit joined_lines(std::span<const std::string> lines) : lines_(lines) {
    starts_.reserve(lines.size() + 1);
    std::size_t start = 0;
    for (const std::string& line : lines) {
      starts_.push_back(start);
      start += line.size() + 2;
    }
    starts_.push_back(start);
  }
  std::size_t size() const { return starts_.back(); }
  char at(std::size_t i) const {
    const std::size_t k = line_of(i);
    const std::size_t offset = i - starts_[k];
    const std::string& line = lines_[k];
    return offset < line.size() ? line[offset] : offset == line.size() ? '\r' : '\n';
  }
  bool matches(std::size_t at_, std::string_view s) const {
    if (at_ > size() || s.size() > size() - at_) return false;
    for (std::size_t j = 0; j < s.size(); ++j)
      if (at(at_ + j) != s[j]) return false;
    return true;
  }
  std::size_t find(char c, std::size_t from) const {
    if (from >= size()) return std::string_view::npos;
    for (std::size_t k = line_of(from); k < lines_.size(); ++k) {
      const std::string& line = lines_[k];
      std::size_t offset = from - starts_[k];
      if (offset < line.size()) {
        if (const void* found = std::memchr(line.data() + offset, c, line.size() - offset))
          return starts_[k] + static_cast<std::size_t>(static_cast<const char*>(found) - line.data());
        offset = line.size();
      }
      if (c == '\r' && offset == line.size()) return starts_[k] + offset;
      if (c == '\n') return starts_[k] + line.size() + 1;
      from = starts_[k + 1];
    }
    return std::string_view::npos;
  }
  std::size_t find(std::string_view s, std::size_t from) const {
    for (std::size_t at_ = find(s[0], from); at_ != std::string_view::npos; at_ = find(s[0], at_ + 1))
      if (matches(at_, s)) return at_;
    return std::string_view::npos;
  }
  std::size_t find_mark(std::size_t from) const {
    const std::size_t at_ = scan(from, [](char x) { return x == '"' || x == '\'' || x == '>'; });
    return at_ == std::string_view::npos ? size() : at_;
  }

 private:
  // The line that holds byte i of the joined text. The check reads forward, so the line
  // last found is tried first.
  std::size_t line_of(std::size_t i) const {
    if (i >= starts_[last_line_] && i < starts_[last_line_ + 1]) return last_line_;
    last_line_ = static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), i) - starts_.begin()) - 1;
    return last_line_;
  }
  template <class Wanted>
  std::size_t scan(std::size_t from, Wanted wanted) const {
    if (from >= size()) return std::string_view::npos;
    for (std::size_t k = line_of(from); k < lines_.size(); ++k) {
      const std::string& line = lines_[k];
      std::size_t offset = from - starts_[k];
      for (; offset < line.size(); ++offset)
        if (wanted(line[offset])) return starts_[k] + offset;
      for (; offset < line.size() + 2; ++offset)
        if (wanted(offset == line.size() ? '\r' : '\n')) return starts_[k] + offset;
      from = starts_[k + 1];
    }
    return std::string_view::npos;
  }

  std::span<const std::string> lines_;
  std::vector<std::size_t> starts_;  // where each line begins in the joined text, then its size
  mutable std::size_t last_line_ = 0;
};

// Counts the attribute values of every start tag in one pass over the text, skipping
// comments, CDATA sections, processing instructions and declarations.
template <class Text>
void check_attribute_counts(const Text& text) {
  const auto skip_past = [&](std::size_t from, std::string_view end) {
    const std::size_t at = text.find(end, from);
    return at == std::string_view::npos ? text.size() : at + end.size();
  };
  std::size_t i = 0;
  while ((i = text.find('<', i)) != std::string_view::npos) {
    if (text.matches(i, "<!--")) {
      i = skip_past(i + 4, "-->");
    } else if (text.matches(i, "<![CDATA[")) {
      i = skip_past(i + 9, "]]>");
    } else if (text.matches(i, "<?")) {
      i = skip_past(i + 2, "?>");
    } else if (text.matches(i, "<!")) {
      i = skip_past(i + 2, ">");
    } else {
      // To each quote outside a value, then past its value, until the tag's end.
      std::size_t values = 0;
      for (i = text.find_mark(i + 1); i < text.size() && text.at(i) != '>'; i = text.find_mark(i)) {
        if (++values > kMaxAttributes) throw ParseError("an element with more than 256 attributes");
        const std::size_t closing = text.find(text.at(i), i + 1);
        if (closing == std::string_view::npos) {
          i = text.size();
          break;
        }
        i = closing + 1;
      }
    }
  }
}

}  // namespace

void prepare_libxml2() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(refuse_external);
    // Registered handlers are found before the platform's converter.
    xmlNewCharEncodingHandler("WINDOWS-1251", windows_1251_to_utf8, nullptr);
    xmlNewCharEncodingHandler("CP1251", windows_1251_to_utf8, nullptr);
  });
}

std::string libxml2_version() {
  // xmlParserVersion is "20914" for 2.9.14.
  const std::string v = xmlParserVersion;
  if (v.size() < 5) return v;
  const auto part = [&](std::size_t at, std::size_t n) { return std::to_string(std::stoi(v.substr(at, n))); };
  return part(0, v.size() - 4) + "." + part(v.size() - 4, 2) + "." + part(v.size() - 2, 2);
}

void check_before_parsing(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ParseError("journal text too large");
  check_attribute_counts(whole_text(text));
}

void check_before_parsing(std::span<const std::string> lines) {
  const joined_lines text(lines);
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ParseError("journal text too large");
  check_attribute_counts(text);
}

}  // namespace journal::dom
