// SPDX-License-Identifier: GPL-3.0-or-later
// The archive window's logic, without its widgets: the tape archive it reads, what the
// archive holds, the selection its fields name (kind, numbers or dates and times, as the
// journal window asks the register), the lines it shows for that selection (those of
// `talqen-cli export --format text`), and the export of the selection to a file. It never
// opens a port. The desktop program calls it on a thread of its own; tests call it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "archive/journal_export.hpp"
#include "archive/tape_store.hpp"
#include "app/verification_report.hpp"
#include "render/packed_lines.hpp"
#include "render/render_context.hpp"

namespace app {

// The selection as the user typed it.
struct ArchiveFields {
  render::DocumentKind kind = render::DocumentKind::Both;
  bool by_dates = false;
  std::string first_number, last_number;  // document numbers; Z-report numbers for Z-reports
  std::string start_date, end_date;       // dd.mm.yy
  std::string start_time = "00:00";       // hh:mm
  std::string end_time = "23:59";
};

// What the archive reads for the fields: the selection, the kind shown, and for a span of
// dates and times its first and last minute, YYYYMMDDhhmm (the archive selects whole days).
struct ArchiveView {
  archive::ArchiveSelection selection;
  render::DocumentKind kind = render::DocumentKind::Both;
  std::string from_minute, to_minute;

  // Whether a document of the selected days falls within the span's minutes.
  bool takes(const archive::ArchivedDocument& document) const;
};

// The view the fields name, or what is wrong with them (Windows-1251, as the window tells it).
std::variant<ArchiveView, std::string> read_view(const ArchiveFields& fields);

// What an archive holds.
struct ArchiveSummary {
  std::int64_t documents = 0;
  // The runs of consecutive numbers held, at most kShownRuns + 1 of them (one more tells
  // that there are more).
  std::vector<std::pair<std::int64_t, std::int64_t>> held_runs;
  std::string last_filled;     // the latest fetched_at, "YYYY-MM-DDThh:mm:ssZ"; empty when none
  std::string last_timestamp;  // the latest document's TS, YYYYMMDDhhmmss; empty when none
  static constexpr std::size_t kShownRuns = 3;
};

// "Документов: 33; номера 1–33; пополнен 10.12.2026 06:30:12 UTC", Windows-1251.
std::string summary_line(const ArchiveSummary& summary);

// How showing or exporting a selection ended.
struct SelectionResult {
  std::int64_t selected = 0;  // documents of the selection
  std::int64_t written = 0;   // of them, of the chosen kind and written whole
  std::optional<archive::ExportFailure> failure;  // the document that could not be read
  std::optional<std::string> archive_error;       // the archive failed while it was read
  bool stopped = false;                           // the caller asked to stop
  bool file_failed = false;                       // an export's file could not be written

  // The message that tells why nothing, or not everything, came (Windows-1251); empty
  // when everything selected came.
  std::string problem() const;
};

class ArchiveWindowLogic {
 public:
  // Called after each document read; false stops the reading there.
  using GoOn = std::function<bool(std::int64_t documents_read)>;

  // Opens an archive to read; what it holds is read at once. Throws archive::ArchiveError
  // for a file that is missing, is no Talqen archive or was written by a later schema,
  // leaving an archive that was open as it was.
  void open(const std::string& path);
  bool is_open() const { return tape_ != nullptr; }
  const std::string& path() const { return path_; }
  const archive::RegisterIdentity& identity() const { return identity_; }
  const ArchiveSummary& summary() const { return summary_; }
  // Reads what the archive holds again (after it was filled).
  void refresh_summary();

  // The fields for the archive just opened: both kinds, the numbers held, and the day of
  // the latest document, whole.
  ArchiveFields default_fields() const;

  // The rendered lines of the view, in place of what `lines` held: the lines of
  // `talqen-cli export --format text` for the same selection, and after a document that
  // cannot be read the failure lines, as the journal window shows them.
  SelectionResult show(const ArchiveView& view, const render::Organisation& organisation, render::PackedLines& lines,
                       const GoOn& go_on = {}) const;

  // Writes the view in the form to path, atomically: only a whole export replaces the
  // file. The text form is written as "Сохранить" writes lines (Windows-1251, CR LF).
  SelectionResult export_to(const std::string& path, archive::ExportFormat format, const ArchiveView& view,
                            const render::Organisation& organisation, const GoOn& go_on = {}) const;

  // The verification of the view's documents, as `talqen-cli verify` checks a selection:
  // by document numbers, the documents of the Z-reports numbered so, or by whole days.
  // Throws archive::ArchiveError when the archive fails.
  VerificationReport verify(const ArchiveView& view, const GoOn& go_on = {}) const;

 private:
  // Feeds the view's documents to the exporter, as the export command does.
  SelectionResult feed(const ArchiveView& view, archive::JournalExport& exporter, const GoOn& go_on) const;

  std::unique_ptr<archive::TapeStore> tape_;
  std::string path_;
  archive::RegisterIdentity identity_;
  ArchiveSummary summary_;
};

// What the archive at path holds. Throws archive::ArchiveError.
ArchiveSummary read_summary(const std::string& path);

}  // namespace app
