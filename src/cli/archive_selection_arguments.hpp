// SPDX-License-Identifier: GPL-3.0-or-later
// The documents of a kept tape that a command's arguments select, as export and verify
// take them: the tape (--db FILE, or --db CENTRE --register ZN), and FIRST LAST|end,
// --from DD.MM.YY --to DD.MM.YY, or the whole tape.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "archive/archived_document.hpp"
#include "archive/tape_store.hpp"
#include "cli/command_arguments.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

// Where a command reads the tape: an archive file, or one register of the chain's centre.
struct TapeSource {
  std::string db;                        // the file, or the centre's address
  std::optional<std::string> register_zn;  // as typed; only with a centre

  bool centre() const { return register_zn.has_value(); }
  // "the archive FILE" or "register ZN of CENTRE", as typed.
  std::string described() const;
};

// --db and --register, with the reason in error when they do not name a tape: no --db, a
// centre without --register, or --register with a file.
std::optional<TapeSource> tape_source(const CommandArguments& args, std::string& error);

// FIRST LAST are document numbers, or Z-report numbers when z_report_numbers (as fetch
// --kind z asks the register); LAST "end" is the last one held. --from and --to are
// checked calendar dates, both inclusive, either one left out for an open end. False
// with the reason in error for a bad selection, or with dates_reversed set when --to is
// before --from.
bool select_archived_documents(const CommandArguments& args, bool z_report_numbers,
                               archive::ArchiveSelection& selection, bool& dates_reversed, std::string& error);

// The tape the selection is read from; nothing, told on stderr, for dates reversed (in
// the journal window's words), a file that cannot be read as an archive (missing,
// another program's, a later schema), or a centre that cannot be reached, lacks the
// central schema or holds no such register: a usage error of `command`.
std::unique_ptr<archive::TapeStore> open_selected_archive(const std::string& command, const TapeSource& source,
                                                          bool dates_reversed, const Terminal& terminal);

}  // namespace cli
