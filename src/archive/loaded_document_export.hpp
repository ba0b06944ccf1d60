// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the export forms that read each document through the journal loader, so
// that their values are those the renderers read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "archive/archived_document_reader.hpp"
#include "archive/journal_export.hpp"

namespace archive {

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
  ArchivedDocumentReader reader_;
};

}  // namespace archive
