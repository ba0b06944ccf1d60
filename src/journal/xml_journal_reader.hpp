// SPDX-License-Identifier: GPL-3.0-or-later
// The journal text read as a stream, on libxml2's push parser: one child of the document
// element at a time, with the names, values and safe settings of the DOM adapter.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace journal::dom {

// A node of a child of the document element as JournalReader hands it out: an element,
// a comment ("#comment"), a CDATA section ("#cdata-section"), a processing instruction or
// an entity reference (by their names). Text nodes are left out: they change nothing.
// A name is the same view wherever it occurs, for the reader's life, so that a walk may
// know a name again by where it is.
struct StreamedAttribute {
  std::string_view name;
  std::string_view value;
};

struct StreamedNode {
  std::string_view name;
  // An element with at least one child, every child a text or CDATA node; text holds the
  // children's text joined.
  bool holds_only_text = false;
  std::string_view text;
  std::span<const StreamedAttribute> attributes;
};

// A journal text read one child of its document element at a time, as the nodes of that
// child in document order: a journal of a year's documents costs the memory of a chunk
// of its text, and no tree is built. Names and values are as Node and Attribute give
// them. The same safe settings as Document::parse apply. The text must outlive the
// reader.
class JournalReader {
 public:
  // Throws ParseError when the text has no document element or fails before it.
  explicit JournalReader(std::string_view text);
  // The lines joined as temp.xml holds them, each followed by CR LF, read without joining
  // them. The lines must outlive the reader.
  explicit JournalReader(std::span<const std::string> lines);
  ~JournalReader();
  JournalReader(const JournalReader&) = delete;
  JournalReader& operator=(const JournalReader&) = delete;

  // The attributes of the document element.
  std::span<const StreamedAttribute> root_attributes() const;
  // The nodes of the next child of the document element (text and comments included),
  // its whole subtree in document order; valid until the next call. Every child that was
  // read whole before a place where the text is not well-formed is handed out, then
  // ParseError is thrown. Nothing once the element has ended and the rest of the text
  // has been checked.
  std::optional<std::span<const StreamedNode>> next_child();
  // Reads what is left without handing it out; throws ParseError where it is not
  // well-formed.
  void check_rest();

  struct Parser;

 private:
  void start();

  std::unique_ptr<Parser> parser_;
};

}  // namespace journal::dom
