// SPDX-License-Identifier: GPL-3.0-or-later
// The documents of a tape archive that a command's arguments select, as export and
// verify take them: FIRST LAST|end, --from DD.MM.YY --to DD.MM.YY, or the whole archive.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "archive/archived_document.hpp"
#include "archive/tape_store.hpp"
#include "cli/command_arguments.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

// FIRST LAST are document numbers, or Z-report numbers when z_report_numbers (as fetch
// --kind z asks the register); LAST "end" is the last one held. --from and --to are
// checked calendar dates, both inclusive, either one left out for an open end. False
// with the reason in error for a bad selection, or with dates_reversed set when --to is
// before --from.
bool select_archived_documents(const CommandArguments& args, bool z_report_numbers,
                               archive::ArchiveSelection& selection, bool& dates_reversed, std::string& error);

// The archive the selection is read from; nothing, told on stderr, for dates reversed (in
// the journal window's words) or a file that cannot be read as an archive (missing,
// another program's, a later schema): a usage error of `command`.
std::unique_ptr<archive::TapeStore> open_selected_archive(const std::string& command, const std::string& db,
                                                          bool dates_reversed, const Terminal& terminal);

}  // namespace cli
