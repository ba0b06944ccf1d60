// What the export forms share: an archived document's line of the journal text, and the
// base of the forms that read each document through the journal loader, so that their
// values are those the renderers read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "archive/journal_export.hpp"
#include "journal/journal_loader.hpp"

namespace archive {

// The document as fetch puts it into the journal text: like a text, it ends at a zero byte.
std::string_view journal_line(const ArchivedDocument& document);

// Reads archived documents one after another into one journal, as the loader reads the
// lines of one journal text: the journal keeps what spans documents (the first
// document's fiscal number, a DAT left without its MAC), and drops each document once
// it has been handed on.
class DocumentReader {
 public:
  using OnDocument = std::function<void(const journal::loaded_journal&, const journal::fiscal_document&, std::int32_t)>;

  void read(std::string_view line, const OnDocument& on_document);

 private:
  journal::loaded_journal journal_;
  journal::loader_state state_;
  std::string text_;
  bool first_ = true;
};

// The forms that show documents of the chosen kind as the loader reads them: each is
// handed the documents of that kind only, and counted once written.
class LoadedDocumentExport : public JournalExport {
 protected:
  explicit LoadedDocumentExport(render::DocumentKind kind) : kind_(kind) {}

  virtual bool write_loaded(const ArchivedDocument& document, const journal::loaded_journal& journal,
                            const journal::fiscal_document& loaded, std::int32_t index) = 0;

 private:
  bool write(const ArchivedDocument& document) final;

  const render::DocumentKind kind_;
  DocumentReader reader_;
};

}  // namespace archive
