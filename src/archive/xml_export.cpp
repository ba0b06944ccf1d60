// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/journal_export.hpp"

#include <utility>

#include "archive/loaded_document_export.hpp"
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
    if (line.empty()) return true;  // fetch leaves no line for a document without data
    ++written_;
    return start() && put(line);
  }
  bool close() override { return !started_ || put(retrieval::kJournalRootEnd); }

  ByteSink bytes_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<JournalExport> xml_export(ByteSink bytes) { return std::make_unique<XmlExport>(std::move(bytes)); }

}  // namespace archive
