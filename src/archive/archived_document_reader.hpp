// SPDX-License-Identifier: GPL-3.0-or-later
// Archived documents read one after another through the journal loader, as the lines of
// one journal text are read: the journal keeps what spans documents (the first
// document's fiscal number, a DAT left without its MAC) and drops each document once it
// has been handed on, so a whole tape costs the memory of one document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "archive/archived_document.hpp"
#include "journal/journal_container.hpp"

namespace archive {

// Why a stored document whose text parses is still none.
inline constexpr std::string_view kNoWholeDocument = "no whole document (DAT and MAC)";

// The document as fetch puts it into the journal text: like a text, it ends at a zero byte.
std::string_view journal_line(const ArchivedDocument& document);

class ArchivedDocumentReader {
 public:
  using OnDocument =
      std::function<void(const journal::loaded_journal&, const journal::fiscal_document&, std::int32_t index)>;

  // Hands on each document the line closes (none for a line without its MAC) and returns
  // how many. Throws the loader's journal::JournalError for a text it cannot read.
  std::size_t read(std::string_view line, const OnDocument& on_document);
  // The same for a line that must hold a whole document: one that closes none is thrown
  // as a journal::ParseError saying so (kNoWholeDocument).
  std::size_t read_whole(std::string_view line, const OnDocument& on_document);

 private:
  journal::loaded_journal journal_;
  journal::loader_state state_;
  std::string text_;
  bool first_ = true;
};

}  // namespace archive
