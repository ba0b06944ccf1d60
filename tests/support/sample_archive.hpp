// SPDX-License-Identifier: GPL-3.0-or-later
// The documents of talqen-sim's sample tape, split as the archive keeps them.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/archived_document.hpp"
#include "sim/journal_index.hpp"
#include "sim/sample_journal.hpp"

namespace testing_support {

inline std::vector<archive::ArchivedDocument> sample_archived_documents() {
  std::vector<archive::ArchivedDocument> documents;
  const sim::JournalIndex tape = sim::JournalIndex::from_text(sim::sample_journal_text());
  for (const sim::JournalDocument& d : tape.documents()) {
    archive::ArchivedDocument a;
    a.number = static_cast<std::int32_t>(d.number);
    a.text = d.bytes;
    documents.push_back(a);
  }
  return documents;
}

}  // namespace testing_support
