// SPDX-License-Identifier: GPL-3.0-or-later
// The journal the simulated register holds when no journal file is given: three working
// days of a small shop, eleven documents a day, every kind of receipt line and Z-report
// row the journal format knows, with totals that add up.
#pragma once

#include <string>

namespace sim {

// A journal text as temp.xml holds one (Windows-1251): the declaration, <RQ V="1">, one
// line per document (its DAT and MAC elements) and </RQ>.
std::string sample_journal_text();

}  // namespace sim
