// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/archive_selection_arguments.hpp"

#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>

#include "archive/central_tape.hpp"
#include "archive/centre_address.hpp"
#include "archive/tape_archive.hpp"
#include "cli/retrieval_commands.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

namespace {

// YYYYMMDD of a checked DD.MM.YY (years 2000-2099, as fetch-dates sends them).
std::string selection_date(const std::string& field) {
  return "20" + field.substr(6, 2) + field.substr(3, 2) + field.substr(0, 2);
}

}  // namespace

std::string TapeSource::described() const {
  return centre() ? "register " + *register_zn + " of " + db : "the archive " + db;
}

std::optional<TapeSource> tape_source(const CommandArguments& args, std::string& error) {
  const std::string* db = args.value("--db");
  const std::string* zn = args.value("--register");
  if (!db || db->empty()) {
    error = "needs --db FILE, the archive, or --db CENTRE --register ZN";
    return std::nullopt;
  }
  if (!archive::names_centre(*db)) {
    if (zn) {
      error = "--register picks a register of a centre; the archive " + *db + " holds one register only";
      return std::nullopt;
    }
    return TapeSource{*db, std::nullopt};
  }
  if (!zn || zn->empty()) {
    error = "needs --register ZN: the centre holds the tapes of many registers (talqen-cli registers lists them)";
    return std::nullopt;
  }
  return TapeSource{*db, *zn};
}

bool select_archived_documents(const CommandArguments& args, bool z_report_numbers,
                               archive::ArchiveSelection& selection, bool& dates_reversed, std::string& error) {
  using By = archive::ArchiveSelection::By;
  const std::string* from = args.value("--from");
  const std::string* to = args.value("--to");
  if (!args.positional.empty()) {
    if (from || to) {
      error = "FIRST LAST or --from/--to, not both";
      return false;
    }
    if (args.positional.size() != 2) {
      error = "needs FIRST and LAST, or neither";
      return false;
    }
    const std::optional<NumberRange> range = number_range(args.positional[0], args.positional[1], error);
    if (!range) return false;
    selection.by = z_report_numbers ? By::ZReportNumbers : By::DocumentNumbers;
    selection.first = static_cast<std::int32_t>(range->first);
    selection.last = static_cast<std::int32_t>(range->last.value_or(std::numeric_limits<int>::max()));
    return true;
  }
  if (!from && !to) return true;  // Everything
  std::string from_date = "00000000", to_date = "99999999";
  for (const auto& [option, typed, date] : {std::tuple{"--from", from, &from_date}, std::tuple{"--to", to, &to_date}}) {
    if (!typed) continue;
    const std::optional<std::string> field = date_field_text(*typed);
    if (!field) {
      error = std::string("bad ") + option + " " + *typed + " (a calendar date DD.MM.YY)";
      return false;
    }
    *date = selection_date(*field);
  }
  if (from_date > to_date) {
    dates_reversed = true;
    return false;
  }
  selection.by = By::Dates;
  selection.from_date = from_date;
  selection.to_date = to_date;
  return true;
}

std::unique_ptr<archive::TapeStore> open_selected_archive(const std::string& command, const TapeSource& source,
                                                          bool dates_reversed, const Terminal& terminal) {
  if (dates_reversed) {
    terminal.error("Конечная дата должна быть не меньше начальной!"_cp1251);
    return nullptr;
  }
  if (source.centre()) {
    std::string error;
    const std::optional<archive::CentreAddress> address = archive::centre_address(source.db, error);
    // The centre's words come as UTF-8, whatever the terminal.
    try {
      if (address)
        return std::make_unique<archive::CentralTape>(archive::connect_to_centre(*address),
                                                      terminal.typed(*source.register_zn));
    } catch (const archive::CentralError& e) {
      error = e.what();
    } catch (const archive::ArchiveError& e) {
      error = e.what();
    }
    terminal.error(text::from_utf8("talqen-cli " + command + ": " + error));
    return nullptr;
  }
  try {
    return std::make_unique<archive::TapeArchive>(archive::TapeArchive::open_existing(source.db));
  } catch (const archive::ArchiveError& e) {
    terminal.error(terminal.typed("talqen-cli " + command + ": " + e.what()));
    return nullptr;
  }
}

}  // namespace cli
