// SPDX-License-Identifier: GPL-3.0-or-later
// A document as it arrives from the register, read for what the archive files it under:
// its kind, date and time and Z-report number, and the register its DAT names. The text
// is read by the journal loader, as a journal of this one document.
#pragma once

#include <cstdint>
#include <string>

#include "archive/archived_document.hpp"
#include "archive/tape_archive.hpp"

namespace archive {

struct ArrivedDocument {
  ArchivedDocument document;
  RegisterIdentity named;  // DAT ZN, FN and TN, empty where the DAT has none
};

// Throws journal::JournalError for a text the loader cannot read.
ArrivedDocument ReadArrivedDocument(std::int32_t number, std::string text, std::string fetched_at);

}  // namespace archive
