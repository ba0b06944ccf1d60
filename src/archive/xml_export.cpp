// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/journal_export.hpp"

#include <utility>

#include "archive/archived_document_reader.hpp"
#include "retrieval/journal_envelope.hpp"

namespace archive {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

class XmlExport final : public JournalExport {
 public:
  explicit XmlExport(ByteSink bytes) : bytes_(std::move(bytes)) {}

 private:
  bool start() {
    if (started_) return true;
    started_ = true;
    return put(retrieval::kJournalDeclaration) && put(retrieval::kJournalRootStart);
  }
  bool put(std::string_view line) { return bytes_(line) && bytes_(kLineEnd); }

  bool write(const ArchivedDocument& document) override {
    const std::string_view line = journal_line(document);
    // The text goes out as it was stored, once the loader has read it as a document: a
    // journal text with a line that cannot be read is no journal text.
    reader_.read_whole(line, [](const journal::loaded_journal&, const journal::fiscal_document&, std::int32_t) {});
    ++written_;
    return start() && put(line);
  }
  bool close() override { return !started_ || put(retrieval::kJournalRootEnd); }

  ByteSink bytes_;
  ArchivedDocumentReader reader_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<JournalExport> xml_export(ByteSink bytes) { return std::make_unique<XmlExport>(std::move(bytes)); }

}  // namespace archive
