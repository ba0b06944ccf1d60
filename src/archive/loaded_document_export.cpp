// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/loaded_document_export.hpp"

#include "render/journal_renderer.hpp"

namespace archive {

bool LoadedDocumentExport::write(const ArchivedDocument& document) {
  bool ok = true;
  reader_.read_whole(journal_line(document), [&](const journal::loaded_journal& journal,
                                           const journal::fiscal_document& loaded, std::int32_t index) {
    if (!render::ShowsDocument(kind_, loaded.is_receipt)) return;
    ok = write_loaded(document, journal, loaded, index) && ok;
    ++written_;
  });
  return ok;
}

}  // namespace archive
