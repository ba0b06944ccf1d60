// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/xml_journal_reader.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "journal/journal_errors.hpp"
#include "journal/libxml2_setup.hpp"

namespace journal::dom {

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
  check_before_parsing(text);
  parser_->text_rest = text;
  start();
}

JournalReader::JournalReader(std::span<const std::string> lines) : parser_(std::make_unique<Parser>()) {
  prepare_libxml2();
  check_before_parsing(lines);
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
