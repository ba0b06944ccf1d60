// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archived_document_reader.hpp"

#include <cstring>

#include "journal/journal_errors.hpp"
#include "journal/journal_loader.hpp"
#include "render/rendering_helpers.hpp"
#include "retrieval/journal_envelope.hpp"

namespace archive {

std::string_view journal_line(const ArchivedDocument& document) {
  const std::string& bytes = document.text;
  return std::string_view(bytes.data(), strnlen(bytes.data(), bytes.size()));
}

std::size_t ArchivedDocumentReader::read(std::string_view line, const OnDocument& on_document) {
  // The root's V is the journal's; the later roots carry none, so the loader's state
  // goes on from the previous document as it would within one text.
  text_.assign(retrieval::kJournalDeclaration);
  text_ += first_ ? retrieval::kJournalRootStart : std::string_view("<RQ>");
  first_ = false;
  text_ += line;
  text_ += retrieval::kJournalRootEnd;
  std::size_t documents = 0;
  const journal::document_closed closed = [&](std::int32_t index) {
    ++documents;
    on_document(journal_, render::EntryOrInitial(journal_.documents, index), index);
  };
  journal::LoadJournalText(text_, journal_, state_, closed);
  return documents;
}

std::size_t ArchivedDocumentReader::read_whole(std::string_view line, const OnDocument& on_document) {
  const std::size_t documents = read(line, on_document);
  if (documents == 0) throw journal::ParseError(std::string(kNoWholeDocument));
  return documents;
}

}  // namespace archive
