// SPDX-License-Identifier: GPL-3.0-or-later
// The XML loader: one pre-order walk over the parsed journal text that files every value
// it knows into the journal. It keeps no position in the tree of its own: where a value
// goes is decided by the current element code, the attribute code and the counters in
// the records. A counter is advanced when the next element starts, so all attributes and
// the text of one element land in one record.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "journal/journal_container.hpp"
#include "journal/xml_dom.hpp"
#include "journal/xml_journal_reader.hpp"

namespace journal {

class JournalLoader {
 public:
  JournalLoader(loaded_journal& journal, loader_state& state) : journal_(journal), state_(state) {}

  // Throws ConversionError when a number value is not a number; what was filed before
  // stays in the journal.
  void LoadJournal(const dom::Node& root);

  // The steps of the walk.
  void WalkNodes(const dom::NodeList& list);
  void WalkNode(const dom::Node& node);
  void WalkAttributes(const dom::AttributeList& list);
  // The same steps over a node of the streamed text (its children follow it). One loader
  // walks the nodes of one reader only: it knows the reader's names again by where they are.
  void WalkNode(const dom::StreamedNode& node);
  void WalkAttributes(std::span<const dom::StreamedAttribute> list);
  void StoreValue(std::int32_t code, std::string_view value);
  void AdvanceCounters();

  // Each document is handed to on_closed as soon as the MAC after it has closed it, and
  // dropped from the journal after the call.
  void NotifyClosedDocuments(const std::function<void(std::int32_t)>& on_closed) { on_closed_ = &on_closed; }

 private:
  fiscal_document& document();
  receipt& current_receipt();
  z_report& current_z_report();

  loaded_journal& journal_;
  loader_state& state_;
  // The document last looked up. Only a new doc_count adds a document (and may move the
  // others), so this is the entry a fresh lookup would find while doc_count is the same.
  fiscal_document* document_ = nullptr;
  std::int32_t document_index_ = 0;
  const std::function<void(std::int32_t)>* on_closed_ = nullptr;
  // Names and values converted for the moment they are filed.
  std::string name_scratch_;
  std::string value_scratch_;

  void CloseDocument();
  // What every node but text does before its text and attributes are filed.
  void StartNode(std::int32_t code_of_name);
  // The codes of the streamed names, found by where the name is.
  struct CodeSlot {
    const char* name = nullptr;
    std::int32_t element = 0;
    std::int32_t code = 0;
  };
  std::array<CodeSlot, 64> element_codes_{};
  std::array<CodeSlot, 256> attribute_codes_{};
  // The text of an element that holds only text; text_of gives it where it is filed.
  template <class TextOf>
  void StoreOnlyText(const TextOf& text_of);
};

// Fills the journal from the document element of a parsed journal text. The caller has
// emptied the journal (loaded_journal::clear) and reset the state (loader_state::reset) before.
void LoadJournal(const dom::Node& root, loaded_journal& journal, loader_state& state);

// The same from the text itself, read one document at a time so that the whole tree is
// never held, with the same outcome: a text that is not well-formed throws ParseError
// and leaves the journal as it was; a value that is no number throws ConversionError
// with what was filed before it kept.
void LoadJournalText(std::string_view text, loaded_journal& journal, loader_state& state);

// The index of a document that its MAC has closed: nothing is filed into it any more.
using document_closed = std::function<void(std::int32_t index)>;

// The same, handing each document to on_closed once it is complete and then dropping it,
// so that the journal holds one document at a time. The document after the last MAC is
// never closed (no rendering shows it). Failures as above; documents handed out before
// a failure were handed out all the same.
void LoadJournalText(std::string_view text, loaded_journal& journal, loader_state& state,
                     const document_closed& on_closed);
// The same from the lines of the text as temp.xml holds them, each followed by CR LF,
// without joining them.
void LoadJournalText(std::span<const std::string> lines, loaded_journal& journal, loader_state& state,
                     const document_closed& on_closed);

}  // namespace journal
