// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/xml_dom.hpp"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <array>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "journal/journal_errors.hpp"
#include "text/cp1251.hpp"

namespace journal::dom {

namespace {

std::string_view view(const xmlChar* s) {
  return s == nullptr ? std::string_view{} : std::string_view(reinterpret_cast<const char*>(s));
}

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

// Bytes appended at the end and dropped from the front, without the zero fill and the
// checks of a string on every append.
class byte_store {
 public:
  std::size_t size() const { return size_; }
  std::string_view view(std::size_t offset, std::size_t size) const { return {data_.get() + offset, size}; }

  void append_cp1251(std::string_view utf8) {
    reserve(utf8.size());
    size_ += write_cp1251(data_.get() + size_, utf8);
  }
  void append(char c) {
    reserve(1);
    data_[size_++] = c;
  }
  void drop_front(std::size_t n) {
    std::memmove(data_.get(), data_.get() + n, size_ - n);
    size_ -= n;
  }

 private:
  void reserve(std::size_t more) {
    if (more <= capacity_ - size_) return;
    const std::size_t capacity = std::max({capacity_ * 2, size_ + more, std::size_t{4096}});
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ != 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

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

std::string qualified_name(const xmlNs* ns, const xmlChar* name) {
  if (ns == nullptr || ns->prefix == nullptr) return to_cp1251(name);
  return to_cp1251(ns->prefix) + ":" + to_cp1251(name);
}

bool is_text_like(const xmlNode* node) {
  return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

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

// No NOENT, DTDLOAD, DTDATTR or HUGE: entities stay references, no DTD is read, and the
// parser's limits on nesting depth and text size apply (the loader's walk recurses).
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

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

struct FreeContext {
  void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

}  // namespace

std::string Attribute::name() const { return qualified_name(attr_->ns, attr_->name); }

std::string Attribute::value() const {
  const xmlNode* first = attr_->children;
  if (first != nullptr && first->next == nullptr && first->type == XML_TEXT_NODE)
    return to_cp1251(first->content);
  // An entity reference stays as written: expanding it is how entity bombs work.
  std::string utf8;
  for (const xmlNode* part = first; part != nullptr; part = part->next) {
    if (part->type == XML_ENTITY_REF_NODE) {
      utf8 += '&';
      utf8 += view(part->name);
      utf8 += ';';
    } else {
      utf8 += view(part->content);
    }
  }
  return to_cp1251(utf8);
}

std::string_view Attribute::name(std::string& scratch) const {
  if (attr_->ns != nullptr && attr_->ns->prefix != nullptr) return scratch = name();
  return cp1251_view(attr_->name, scratch);
}

std::string_view Attribute::value(std::string& scratch) const {
  const xmlNode* first = attr_->children;
  if (first != nullptr && first->next == nullptr && first->type == XML_TEXT_NODE)
    return cp1251_view(first->content, scratch);
  return scratch = value();
}

std::string_view Node::name(std::string& scratch) const {
  if (node_->type == XML_ELEMENT_NODE && (node_->ns == nullptr || node_->ns->prefix == nullptr))
    return cp1251_view(node_->name, scratch);
  return scratch = name();
}

std::string_view Node::value(std::string& scratch) const {
  if (node_->type == XML_ELEMENT_NODE && holds_only_text() && node_->children->next == nullptr)
    return cp1251_view(node_->children->content, scratch);
  return scratch = value();
}

AttributeList::iterator& AttributeList::iterator::operator++() {
  attr_ = attr_->next;
  return *this;
}

std::size_t AttributeList::size() const {
  std::size_t n = 0;
  for (const xmlAttr* a = first_; a != nullptr; a = a->next) ++n;
  return n;
}

std::string Node::name() const {
  switch (node_->type) {
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    case XML_ELEMENT_NODE: return qualified_name(node_->ns, node_->name);
    default: return to_cp1251(node_->name);
  }
}

bool Node::is_text() const { return node_->type == XML_TEXT_NODE; }

bool Node::holds_only_text() const {
  if (node_->type != XML_ELEMENT_NODE || node_->children == nullptr) return false;
  for (const xmlNode* child = node_->children; child != nullptr; child = child->next)
    if (!is_text_like(child)) return false;
  return true;
}

std::string Node::value() const {
  switch (node_->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      return to_cp1251(node_->content);
    default:
      break;
  }
  if (!holds_only_text()) return {};
  const xmlNode* first = node_->children;
  if (first->next == nullptr) return to_cp1251(first->content);
  std::string utf8;
  for (const xmlNode* child = first; child != nullptr; child = child->next)
    utf8 += view(child->content);
  return to_cp1251(utf8);
}

AttributeList Node::attributes() const {
  return AttributeList(node_->type == XML_ELEMENT_NODE ? node_->properties : nullptr);
}

bool Node::has_children() const {
  return node_->type != XML_ENTITY_REF_NODE && node_->children != nullptr;
}

NodeList Node::children() const {
  return NodeList(node_->type == XML_ENTITY_REF_NODE ? nullptr : node_->children);
}

NodeList::iterator& NodeList::iterator::operator++() {
  node_ = node_->next;
  return *this;
}

std::size_t NodeList::size() const {
  std::size_t n = 0;
  for (const xmlNode* node = first_; node != nullptr; node = node->next) ++n;
  return n;
}

void Document::Free::operator()(_xmlDoc* doc) const { xmlFreeDoc(doc); }

Document Document::parse(std::string_view text) {
  prepare_libxml2();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ParseError("journal text too large");
  check_attribute_counts(whole_text(text));
  const std::unique_ptr<xmlParserCtxt, FreeContext> ctxt(xmlNewParserCtxt());
  if (ctxt == nullptr) throw ParseError("cannot create an XML parser");
  xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), text.data(), static_cast<int>(text.size()), nullptr,
                                  nullptr, kParseOptions);
  if (doc == nullptr) {
    std::string message = "journal text is not well-formed XML";
    if (const xmlError* error = xmlCtxtGetLastError(ctxt.get());
        error != nullptr && error->message != nullptr) {
      std::string detail = error->message;
      while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r')) detail.pop_back();
      message = "line " + std::to_string(error->line) + ": " + detail;
    }
    throw ParseError(message);
  }
  Document parsed(doc);
  if (xmlDocGetRootElement(doc) == nullptr) throw ParseError("journal text has no document element");
  // libxml2 keeps going past an undeclared prefix; a conforming parser rejects the text.
  if (!ctxt->nsWellFormed) throw ParseError("journal text uses an undeclared namespace prefix");
  return parsed;
}

std::string JoinLines(std::span<const std::string> lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

Document Document::parse_lines(std::span<const std::string> lines) { return parse(JoinLines(lines)); }

Node Document::root() const { return Node(xmlDocGetRootElement(doc_.get())); }

namespace {

constexpr std::string_view kCommentName = "#comment";
constexpr std::string_view kCdataName = "#cdata-section";

// The text goes to libxml2 in pieces of this size. The children read from one piece wait
// in the reader until they are walked, so this bounds what is held besides the text.
constexpr std::size_t kPieceSize = 64 * 1024;

// An attribute value as the tree holds it. libxml2 hands a value that holds references as
// a text of its own, with "&#38;" for a written "&" and every other reference kept as
// written ("&name;"): entities are never expanded.
void append_value(byte_store& out, const xmlChar* value, const xmlChar* end) {
  std::string_view v(reinterpret_cast<const char*>(value), static_cast<std::size_t>(end - value));
  if (*end != 0) {
    out.append_cp1251(v);
    return;
  }
  for (std::size_t at; (at = v.find("&#38;")) != std::string_view::npos; v.remove_prefix(at + 5)) {
    out.append_cp1251(v.substr(0, at));
    out.append('&');
  }
  out.append_cp1251(v);
}

}  // namespace

// The push parser's events turned into the nodes of each child of the document element,
// as the tree would hold them: text nodes dropped, adjacent CDATA sections one node, an
// element marked as holding only text once its end shows it.
struct JournalReader::Parser {
  struct Span {
    std::size_t offset = 0;
    std::size_t size = 0;
  };
  struct RawAttribute {
    std::string_view name;
    Span value;
  };
  struct RawNode {
    std::string_view name;
    Span text;
    std::size_t first_attribute = 0;
    std::size_t attributes = 0;
    bool holds_only_text = false;
  };
  struct OpenElement {
    std::size_t node;
    bool only_text = true;
    bool has_text = false;
  };

  xmlSAXHandler sax{};
  xmlParserCtxt* ctxt = nullptr;
  // What libxml2 has not been given yet: the rest of a text given whole, or of lines
  // (each followed by CR LF) staged a piece at a time.
  std::string_view text_rest;
  std::span<const std::string> lines;
  bool from_lines = false;
  std::size_t next_line = 0;
  std::string_view line_rest;
  bool line_end_due = false;
  std::string staged;
  std::string_view held;  // the part of the first piece the context was not created with
  std::string error;      // the first error libxml2 reported
  bool root_started = false;
  bool root_ended = false;
  bool finished = false;
  bool skipping = false;  // the rest is only checked

  // Every name once, as one view for the reader's life: UTF-8 as written (with its
  // prefix) to Windows-1251. The slots find libxml2's names by their place.
  std::map<std::string, std::string, std::less<>> names;
  struct NameSlot {
    const xmlChar* prefix = nullptr;
    const xmlChar* local = nullptr;
    std::string_view name;
  };
  std::array<NameSlot, 256> name_slots{};
  std::string written_scratch;

  byte_store root_arena;
  std::vector<StreamedAttribute> root_attributes;

  // The children read and not yet walked, then the one being read.
  byte_store arena;
  std::vector<RawAttribute> attributes;
  std::vector<RawNode> nodes;
  std::vector<std::size_t> child_ends;  // where each whole child ends in nodes
  std::size_t children_walked = 0;
  std::size_t arena_mark = 0;      // where the child being read begins in arena
  std::size_t attribute_mark = 0;  // and in attributes
  std::vector<OpenElement> open;   // the elements open inside the child being read
  bool last_was_cdata = false;

  // What next_child hands out.
  std::vector<StreamedAttribute> out_attributes;
  std::vector<StreamedNode> out_nodes;

  ~Parser() {
    if (ctxt != nullptr) {
      if (ctxt->myDoc != nullptr) xmlFreeDoc(ctxt->myDoc);  // the DTD, if the text has one
      xmlFreeParserCtxt(ctxt);
    }
  }

  [[noreturn]] void fail(const char* what) const {
    throw ParseError(error.empty() ? std::string("journal text is not well-formed XML: ") + what : error);
  }

  // The next piece of the text, up to about kPieceSize bytes; empty at its end.
  std::string_view next_piece() {
    if (!from_lines) {
      const std::string_view piece = text_rest.substr(0, kPieceSize);
      text_rest.remove_prefix(piece.size());
      return piece;
    }
    staged.clear();
    while (staged.size() < kPieceSize) {
      if (!line_rest.empty()) {
        const std::string_view part = line_rest.substr(0, kPieceSize - staged.size());
        staged += part;
        line_rest.remove_prefix(part.size());
      } else if (line_end_due) {
        staged += "\r\n";
        line_end_due = false;
      } else if (next_line < lines.size()) {
        line_rest = lines[next_line++];
        line_end_due = true;
      } else {
        break;
      }
    }
    return staged;
  }

  void feed() {
    const std::string_view piece = held.empty() ? next_piece() : std::exchange(held, std::string_view{});
    if (piece.empty()) {
      xmlParseChunk(ctxt, nullptr, 0, 1);
      finished = true;
      return;
    }
    xmlParseChunk(ctxt, piece.data(), static_cast<int>(piece.size()), 0);
  }

  // The parser whose events these are, if they belong to the journal: libxml2 parses an
  // entity's text once on a context of its own to check it, and that is no part of the
  // journal (entities stay references). Nothing is taken after the first error.
  static Parser* of(void* context) {
    auto* const c = static_cast<xmlParserCtxt*>(context);
    auto* const p = static_cast<Parser*>(c->_private);
    if (p == nullptr || p->ctxt != c) return nullptr;
    if (!p->error.empty()) {
      xmlStopParser(c);
      return nullptr;
    }
    return p;
  }

  // Inside the document element, where its children are read.
  bool reading() const { return root_started && !root_ended && !skipping; }

  // No exception may cross libxml2's frames: a failure to store (memory) ends the reading.
  template <class Step>
  void guarded(Step&& step) {
    try {
      step();
    } catch (...) {
      if (error.empty()) error = "journal text cannot be read: out of memory";
      xmlStopParser(ctxt);
    }
  }

  Span store(byte_store& to, auto&& append) {
    const std::size_t offset = to.size();
    append(to);
    return Span{offset, to.size() - offset};
  }

  std::string_view name_of(const xmlChar* prefix, const xmlChar* local) {
    // libxml2 keeps its names a few bytes apart: every bit of the place counts.
    const std::uint64_t place = (reinterpret_cast<std::uintptr_t>(local) * 31 + reinterpret_cast<std::uintptr_t>(prefix)) *
                                0x9E3779B97F4A7C15u;
    NameSlot& slot = name_slots[place >> 56];
    // libxml2 keeps each name once in its dictionary for the parser's life.
    if (slot.local == local && slot.prefix == prefix) return slot.name;
    written_scratch.clear();
    if (prefix != nullptr) {
      written_scratch += view(prefix);
      written_scratch += ':';
    }
    written_scratch += view(local);
    auto found = names.find(written_scratch);
    if (found == names.end()) found = names.emplace(written_scratch, to_cp1251(written_scratch)).first;
    slot = NameSlot{prefix, local, found->second};
    return found->second;
  }

  RawNode fixed_node(std::string_view name) const {
    RawNode node;
    node.name = name;
    node.text.offset = arena.size();
    node.first_attribute = attributes.size();
    return node;
  }

  // A node other than text starts in the open element, or as a child of its own.
  void add_node(RawNode node) {
    if (!open.empty()) open.back().only_text = false;
    last_was_cdata = false;
    nodes.push_back(node);
    end_child_if_outermost();
  }

  void end_child_if_outermost() {
    if (!open.empty()) return;
    child_ends.push_back(nodes.size());
    arena_mark = arena.size();
    attribute_mark = attributes.size();
  }

  void add_text(const xmlChar* text, int length) {
    if (open.empty()) return;  // text between the children changes nothing
    OpenElement& top = open.back();
    if (!top.only_text) return;
    RawNode& node = nodes[top.node];
    if (!top.has_text) {
      top.has_text = true;
      node.text.offset = arena.size();
    }
    arena.append_cp1251(std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length)));
    node.text.size = arena.size() - node.text.offset;
  }

  // Drops the children walked, keeping the one being read.
  void drop_walked() {
    const std::size_t first_node = child_ends.empty() ? 0 : child_ends.back();
    if (first_node != 0 || arena_mark != 0) {
      arena.drop_front(arena_mark);
      attributes.erase(attributes.begin(), attributes.begin() + static_cast<std::ptrdiff_t>(attribute_mark));
      nodes.erase(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(first_node));
      for (RawAttribute& a : attributes) a.value.offset -= arena_mark;
      for (RawNode& n : nodes) {
        n.text.offset -= arena_mark;
        n.first_attribute -= attribute_mark;
      }
      for (OpenElement& e : open) e.node -= first_node;
    }
    child_ends.clear();
    children_walked = 0;
    arena_mark = 0;
    attribute_mark = 0;
  }

  std::string_view at(const Span& s) const { return arena.view(s.offset, s.size); }

  std::span<const StreamedNode> hand_out() {
    const std::size_t begin = children_walked == 0 ? 0 : child_ends[children_walked - 1];
    const std::size_t end = child_ends[children_walked++];
    out_attributes.clear();
    out_nodes.clear();
    for (std::size_t i = begin; i < end; ++i) {
      const RawNode& n = nodes[i];
      for (std::size_t a = 0; a < n.attributes; ++a) {
        const RawAttribute& raw = attributes[n.first_attribute + a];
        out_attributes.push_back({raw.name, at(raw.value)});
      }
    }
    std::size_t next_attribute = 0;
    for (std::size_t i = begin; i < end; ++i) {
      const RawNode& n = nodes[i];
      out_nodes.push_back({n.name, n.holds_only_text,
                           n.holds_only_text ? at(n.text) : std::string_view{},
                           std::span<const StreamedAttribute>(out_attributes).subspan(next_attribute, n.attributes)});
      next_attribute += n.attributes;
    }
    return out_nodes;
  }

  // The SAX callbacks.
  static void start_element(void* context, const xmlChar* localname, const xmlChar* prefix, const xmlChar*, int,
                            const xmlChar**, int nb_attributes, int nb_defaulted, const xmlChar** attrs) {
    Parser* const p = of(context);
    if (p == nullptr || p->root_ended || p->skipping) return;
    p->guarded([&] {
      // Attributes a DTD's defaults would add are no part of the tree unless asked for.
      const int written = nb_attributes - nb_defaulted;
      if (!p->root_started) {
        p->root_started = true;
        std::vector<RawAttribute> raw;
        for (int i = 0; i < written; ++i) {
          const xmlChar* const* a = attrs + 5 * i;  // localname, prefix, URI, value, end
          raw.push_back({p->name_of(a[1], a[0]),
                         p->store(p->root_arena, [&](byte_store& s) { append_value(s, a[3], a[4]); })});
        }
        for (const RawAttribute& r : raw)
          p->root_attributes.push_back({r.name, p->root_arena.view(r.value.offset, r.value.size)});
        return;
      }
      RawNode node;
      node.name = p->name_of(prefix, localname);
      node.first_attribute = p->attributes.size();
      node.attributes = static_cast<std::size_t>(written);
      for (int i = 0; i < written; ++i) {
        const xmlChar* const* a = attrs + 5 * i;
        p->attributes.push_back(
            {p->name_of(a[1], a[0]), p->store(p->arena, [&](byte_store& s) { append_value(s, a[3], a[4]); })});
      }
      node.text.offset = p->arena.size();
      if (!p->open.empty()) p->open.back().only_text = false;
      p->last_was_cdata = false;
      p->open.push_back({p->nodes.size()});
      p->nodes.push_back(node);
    });
  }

  static void end_element(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    Parser* const p = of(context);
    if (p == nullptr || !p->reading()) return;
    p->last_was_cdata = false;
    if (p->open.empty()) {
      p->root_ended = true;
      return;
    }
    const OpenElement top = p->open.back();
    p->open.pop_back();
    if (top.only_text && top.has_text) p->nodes[top.node].holds_only_text = true;
    p->guarded([&] { p->end_child_if_outermost(); });
  }

  static void characters(void* context, const xmlChar* text, int length) {
    Parser* const p = of(context);
    if (p == nullptr || !p->reading()) return;
    p->last_was_cdata = false;
    p->guarded([&] { p->add_text(text, length); });
  }

  static void cdata(void* context, const xmlChar* text, int length) {
    Parser* const p = of(context);
    if (p == nullptr || !p->reading()) return;
    p->guarded([&] {
      p->add_text(text, length);
      // A section comes in pieces, and sections side by side are one node in the tree.
      if (p->last_was_cdata) return;
      p->nodes.push_back(p->fixed_node(kCdataName));
      p->end_child_if_outermost();
      p->last_was_cdata = true;
    });
  }

  static void comment(void* context, const xmlChar*) {
    Parser* const p = of(context);
    if (p == nullptr || !p->reading()) return;
    p->guarded([&] { p->add_node(p->fixed_node(kCommentName)); });
  }

  static void named_node(void* context, const xmlChar* name) {
    Parser* const p = of(context);
    if (p == nullptr || !p->reading()) return;
    p->guarded([&] {
      p->add_node(p->fixed_node(p->name_of(nullptr, name)));
    });
  }

  static void processing_instruction(void* context, const xmlChar* target, const xmlChar*) {
    named_node(context, target);
  }

  static void reference(void* context, const xmlChar* name) { named_node(context, name); }

  // Errors of the parser, the checks of entities included: the fatal ones end its
  // reading by themselves; an undeclared prefix is only an error, which a conforming
  // parser takes as fatal all the same.
  static void note_error(void* context, const xmlError* e) {
    auto* const c = static_cast<xmlParserCtxt*>(context);
    auto* const p = c != nullptr ? static_cast<Parser*>(c->_private) : nullptr;
    if (p == nullptr || e == nullptr || e->level < XML_ERR_ERROR || !p->error.empty()) return;
    try {
      std::string detail = e->message != nullptr ? e->message : "error";
      while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r')) detail.pop_back();
      p->error = "line " + std::to_string(e->line) + ": " + detail;
    } catch (...) {
      p->error = "journal text cannot be read: out of memory";
    }
  }
  static void note_error_handler(void* context, xmlErrorPtr e) { note_error(context, e); }
};

JournalReader::JournalReader(std::string_view text) : parser_(std::make_unique<Parser>()) {
  prepare_libxml2();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ParseError("journal text too large");
  check_attribute_counts(whole_text(text));
  parser_->text_rest = text;
  start();
}

JournalReader::JournalReader(std::span<const std::string> lines) : parser_(std::make_unique<Parser>()) {
  prepare_libxml2();
  const joined_lines text(lines);
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ParseError("journal text too large");
  check_attribute_counts(text);
  parser_->lines = lines;
  parser_->from_lines = true;
  start();
}

void JournalReader::start() {
  Parser& p = *parser_;
  xmlSAXVersion(&p.sax, 2);
  p.sax.startElement = nullptr;
  p.sax.endElement = nullptr;
  p.sax.startElementNs = Parser::start_element;
  p.sax.endElementNs = Parser::end_element;
  p.sax.characters = Parser::characters;
  p.sax.ignorableWhitespace = Parser::characters;
  p.sax.cdataBlock = Parser::cdata;
  p.sax.comment = Parser::comment;
  p.sax.processingInstruction = Parser::processing_instruction;
  p.sax.reference = Parser::reference;
  p.sax.serror = Parser::note_error_handler;
  // The first bytes tell libxml2 the encoding.
  const std::string_view first = p.next_piece();
  const std::string_view head = first.substr(0, 4);
  p.ctxt = xmlCreatePushParserCtxt(&p.sax, nullptr, head.data(), static_cast<int>(head.size()), nullptr);
  if (p.ctxt == nullptr) throw ParseError("cannot create an XML reader");
  p.ctxt->_private = &p;
  p.ctxt->linenumbers = 1;
  xmlCtxtUseOptions(p.ctxt, kParseOptions);
  p.held = first.substr(head.size());
  while (!p.root_started) {
    if (!p.error.empty() || p.finished) p.fail("journal text has no document element");
    p.feed();
  }
}

JournalReader::~JournalReader() = default;

std::span<const StreamedAttribute> JournalReader::root_attributes() const { return parser_->root_attributes; }

std::optional<std::span<const StreamedNode>> JournalReader::next_child() {
  Parser& p = *parser_;
  while (p.children_walked == p.child_ends.size()) {
    if (!p.error.empty()) p.fail("a read failed");
    if (p.root_ended) {
      check_rest();
      return std::nullopt;
    }
    if (p.finished) p.fail("the text ends inside its document element");
    p.drop_walked();
    p.feed();
  }
  return p.hand_out();
}

void JournalReader::check_rest() {
  Parser& p = *parser_;
  p.skipping = true;
  while (!p.finished && p.error.empty()) p.feed();
  // libxml2 keeps going past an undeclared prefix; a conforming parser rejects the text.
  if (!p.error.empty()) p.fail("after its document element");
}

}  // namespace journal::dom
