// SPDX-License-Identifier: GPL-3.0-or-later
// The journal text as a DOM, on libxml2. Only this adapter sees libxml2; the loader walks
// the node types below. Names and values come out as Windows-1251 text (a character
// Windows-1251 lacks becomes "?"). Whitespace text is kept as "#text" nodes, comments are
// "#comment", CDATA sections "#cdata-section"; attributes come in document order.
//
// Parsing is safe for any input: no DTD or external entity is loaded, nothing is fetched
// from a network, internal entities stay references (never expanded into names, values
// or children), and libxml2's limits on depth and text size stay in force.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct _xmlAttr;
struct _xmlDoc;
struct _xmlNode;

namespace journal::dom {

class Attribute {
 public:
  explicit Attribute(const _xmlAttr* attr) : attr_(attr) {}
  std::string name() const;
  std::string value() const;
  // The same without a copy where none is needed: a view of libxml2's own text when it
  // is ASCII, else of the converted text in scratch. Valid until scratch or the node
  // changes.
  std::string_view name(std::string& scratch) const;
  std::string_view value(std::string& scratch) const;

 private:
  const _xmlAttr* attr_;
};

class AttributeList {
 public:
  class iterator {
   public:
    explicit iterator(const _xmlAttr* attr) : attr_(attr) {}
    Attribute operator*() const { return Attribute(attr_); }
    iterator& operator++();
    bool operator==(const iterator&) const = default;

   private:
    const _xmlAttr* attr_;
  };

  explicit AttributeList(const _xmlAttr* first) : first_(first) {}
  iterator begin() const { return iterator(first_); }
  iterator end() const { return iterator(nullptr); }
  bool empty() const { return first_ == nullptr; }
  std::size_t size() const;

 private:
  const _xmlAttr* first_;
};

class NodeList;

class Node {
 public:
  explicit Node(const _xmlNode* node) : node_(node) {}

  // "#text", "#comment", "#cdata-section", or the name as written (prefix included) of
  // an element, a processing instruction or an entity reference.
  std::string name() const;
  bool is_text() const;
  // An element with at least one child, every child a text or CDATA node.
  bool holds_only_text() const;
  // The text of a text, CDATA, comment or processing-instruction node, or of an element
  // that holds only text (its children joined); empty for anything else.
  std::string value() const;
  // As Attribute's: views where no copy is needed.
  std::string_view name(std::string& scratch) const;
  std::string_view value(std::string& scratch) const;
  AttributeList attributes() const;
  // An entity reference shows no children: its expansion is never walked.
  bool has_children() const;
  NodeList children() const;

 private:
  const _xmlNode* node_;
};

class NodeList {
 public:
  class iterator {
   public:
    explicit iterator(const _xmlNode* node) : node_(node) {}
    Node operator*() const { return Node(node_); }
    iterator& operator++();
    bool operator==(const iterator&) const = default;

   private:
    const _xmlNode* node_;
  };

  explicit NodeList(const _xmlNode* first) : first_(first) {}
  iterator begin() const { return iterator(first_); }
  iterator end() const { return iterator(nullptr); }
  bool empty() const { return first_ == nullptr; }
  std::size_t size() const;

 private:
  const _xmlNode* first_;
};

// The version of libxml2 the program runs with ("2.9.14").
std::string libxml2_version();

// The lines joined as temp.xml holds them, each followed by CR LF.
std::string JoinLines(std::span<const std::string> lines);

// A parsed journal text. Nodes and lists borrow from it and must not outlive it.
class Document {
 public:
  // Throws ParseError when the text is not well-formed or its declared encoding cannot
  // be read. A text without a declaration is read as UTF-8, as XML says.
  static Document parse(std::string_view text);
  // The lines joined with CR LF, as the journal text is written to temp.xml.
  static Document parse_lines(std::span<const std::string> lines);

  // The document element.
  Node root() const;

 private:
  struct Free {
    void operator()(_xmlDoc* doc) const;
  };
  explicit Document(_xmlDoc* doc) : doc_(doc) {}
  std::unique_ptr<_xmlDoc, Free> doc_;
};

}  // namespace journal::dom
