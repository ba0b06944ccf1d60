// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/xml_dom.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>

#include "journal/journal_errors.hpp"
#include "journal/libxml2_setup.hpp"

namespace journal::dom {

namespace {

std::string qualified_name(const xmlNs* ns, const xmlChar* name) {
  if (ns == nullptr || ns->prefix == nullptr) return to_cp1251(name);
  return to_cp1251(ns->prefix) + ":" + to_cp1251(name);
}

bool is_text_like(const xmlNode* node) {
  return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
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
  check_before_parsing(text);
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

}  // namespace journal::dom
