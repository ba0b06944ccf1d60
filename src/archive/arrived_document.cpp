// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/arrived_document.hpp"

#include <cmath>

#include "journal/journal_loader.hpp"
#include "render/rendering_helpers.hpp"

namespace archive {

ArrivedDocument ReadArrivedDocument(std::int32_t number, std::string text, std::string fetched_at) {
  ArrivedDocument arrived;
  arrived.document.number = number;
  arrived.document.fetched_at = std::move(fetched_at);
  journal::loaded_journal journal;
  journal::loader_state state;
  bool read = false;
  const auto file = [&](const journal::fiscal_document& document) {
    if (read) return;  // a second DAT in one document's text changes nothing that was filed
    read = true;
    arrived.document.is_z_report = !document.is_receipt;
    arrived.document.timestamp = std::string(document.ts.text.view());
    if (arrived.document.is_z_report) {
      const float z = render::EntryOrInitial(document.zreports, document.zreport_key).NO;
      if (std::isfinite(z) && std::fabs(z) < 2147483648.0f) arrived.document.z_number = static_cast<std::int32_t>(z);
    }
    arrived.named = {std::string(document.ZN.view()), std::string(document.FN.view()), std::string(document.TN.view())};
  };
  const std::string journal_text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?><RQ V=\"1\">" + text + "</RQ>";
  journal::LoadJournalText(journal_text, journal, state,
                           [&](std::int32_t index) { file(render::EntryOrInitial(journal.documents, index)); });
  // A text without its MAC leaves its document open.
  if (!read && journal.documents.find(0) != nullptr) file(*journal.documents.find(0));
  arrived.document.text = std::move(text);
  return arrived;
}

}  // namespace archive
