#include "journal/xml_dom.hpp"

#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <array>
#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>

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

// A character Windows-1251 lacks becomes one "?". Nearly every value of a journal is
// ASCII, which is taken as it is.
std::string to_cp1251(std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
  if (i == utf8.size()) return std::string(utf8);
  const auto& table = byte_table();
  std::string out(utf8.substr(0, i));
  out.reserve(utf8.size());
  while (i < utf8.size()) {
    const char32_t cp = text::decode_utf8(utf8, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else {
      const unsigned char b = cp <= kHighestCodePoint ? table[cp] : 0;
      out += b != 0 ? static_cast<char>(b) : text::kUnmappable;
    }
  }
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
    const char32_t cp = text::code_point_of(*i);
    if (cp < 0x80) {
      if (o_end - o < 1) break;
      *o++ = static_cast<unsigned char>(cp);
    } else if (cp < 0x800) {
      if (o_end - o < 2) break;
      *o++ = static_cast<unsigned char>(0xC0 | (cp >> 6));
      *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else {
      if (o_end - o < 3) break;
      *o++ = static_cast<unsigned char>(0xE0 | (cp >> 12));
      *o++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    }
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

// Counts the attribute values of every start tag in one pass over the text, skipping
// comments, CDATA sections, processing instructions and declarations.
void check_attribute_counts(std::string_view text) {
  const auto skip_past = [&](std::size_t from, std::string_view end) {
    const std::size_t at = text.find(end, from);
    return at == std::string_view::npos ? text.size() : at + end.size();
  };
  std::size_t i = 0;
  while ((i = text.find('<', i)) != std::string_view::npos) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("<!--")) {
      i = skip_past(i + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      i = skip_past(i + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      i = skip_past(i + 2, "?>");
    } else if (rest.starts_with("<!")) {
      i = skip_past(i + 2, ">");
    } else {
      std::size_t values = 0;
      char quote = 0;
      for (++i; i < text.size() && (quote != 0 || text[i] != '>'); ++i) {
        if (quote != 0) {
          if (text[i] == quote) quote = 0;
        } else if (text[i] == '"' || text[i] == '\'') {
          quote = text[i];
          if (++values > kMaxAttributes) throw ParseError("an element with more than 256 attributes");
        }
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
  check_attribute_counts(text);
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

// Errors of a reader: the fatal ones end its reading by themselves; an undeclared
// prefix is only an error, which a conforming parser takes as fatal all the same.
void note_reader_error(void* arg, const xmlError* error) {
  auto& first = *static_cast<std::string*>(arg);
  if (error == nullptr || error->level < XML_ERR_ERROR || !first.empty()) return;
  std::string detail = error->message != nullptr ? error->message : "error";
  while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r')) detail.pop_back();
  first = "line " + std::to_string(error->line) + ": " + detail;
}

void reader_error_handler(void* arg, xmlErrorPtr error) { note_reader_error(arg, error); }

// The text handed to the reader piece by piece as it asks, so that libxml2 never holds a
// copy of the whole of it.
int read_piece(void* context, char* buffer, int length) {
  auto& rest = *static_cast<std::string_view*>(context);
  const std::size_t n = std::min(rest.size(), static_cast<std::size_t>(std::max(length, 0)));
  std::memcpy(buffer, rest.data(), n);
  rest.remove_prefix(n);
  return static_cast<int>(n);
}

}  // namespace

JournalReader::JournalReader(std::string_view text) {
  prepare_libxml2();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ParseError("journal text too large");
  check_attribute_counts(text);
  rest_ = text;
  owned_reader_.reset(xmlReaderForIO(read_piece, nullptr, &rest_, nullptr, nullptr, kParseOptions));
  reader_ = owned_reader_.get();
  if (reader_ == nullptr) throw ParseError("cannot create an XML reader");
  xmlTextReaderSetStructuredErrorHandler(reader_, reader_error_handler, &error_);
  for (;;) {
    const int rc = xmlTextReaderRead(reader_);
    if (rc != 1 || !error_.empty()) fail("journal text has no document element");
    if (xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT) break;
  }
  root_ = xmlTextReaderCurrentNode(reader_);
  // An empty root (<RQ/>) has no children and no end of its own to wait for.
  if (xmlTextReaderIsEmptyElement(reader_) == 1) started_ = true, ended_ = true;
}

JournalReader::~JournalReader() = default;

void JournalReader::FreeReader::operator()(_xmlTextReader* reader) const { xmlFreeTextReader(reader); }

Node JournalReader::root() const { return Node(root_); }

void JournalReader::fail(const char* what) {
  throw ParseError(error_.empty() ? std::string("journal text is not well-formed XML: ") + what : error_);
}

int JournalReader::read_next(bool skip_subtree) {
  const int rc = skip_subtree ? xmlTextReaderNext(reader_) : xmlTextReaderRead(reader_);
  if (rc < 0 || !error_.empty()) fail("a read failed");
  return rc;
}

std::optional<Node> JournalReader::next_child() {
  if (ended_) {
    check_rest();
    return std::nullopt;
  }
  // The first child is inside the root; each later one follows its sibling's subtree.
  const int rc = read_next(started_);
  started_ = true;
  if (rc == 0) fail("the text ends inside its document element");
  if (xmlTextReaderDepth(reader_) == 0) {  // the root's end
    ended_ = true;
    check_rest();
    return std::nullopt;
  }
  const xmlNode* node = xmlTextReaderExpand(reader_);
  if (node == nullptr || !error_.empty()) fail("an element cannot be read");
  return Node(node);
}

void JournalReader::check_rest() {
  while (read_next(false) == 1) {
  }
  // libxml2 keeps going past an undeclared prefix; a conforming parser rejects the text.
  if (!error_.empty()) fail("after its document element");
}

}  // namespace journal::dom
