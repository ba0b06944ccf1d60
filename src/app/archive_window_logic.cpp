// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/archive_window_logic.hpp"

#include <charconv>
#include <cstdio>
#include <limits>
#include <memory>

#include "archive/stored_row.hpp"
#include "archive/sqlite_database.hpp"
#include "archive/tape_archive.hpp"
#include "archive/xlsx_export.hpp"
#include "retrieval/failure_lines.hpp"
#include "text/atomic_file.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace app {

namespace {

// Stops the archive's walk between two documents.
struct Stopped {};

std::optional<std::int32_t> whole_number(const std::string& typed) {
  std::int32_t n = 0;
  const char* const end = typed.data() + typed.size();
  const auto [at, error] = std::from_chars(typed.data(), end, n);
  if (error != std::errc() || at != end || n < 1) return std::nullopt;
  return n;
}

bool digits(std::string_view text, std::size_t at, std::size_t count) {
  for (std::size_t i = at; i < at + count; ++i)
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
  return true;
}

int two_digits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// YYYYMMDD of a calendar date dd.mm.yy (years 2000-2099, as the register's dates go).
std::optional<std::string> day_of(std::string_view typed) {
  if (typed.size() != 8 || typed[2] != '.' || typed[5] != '.' || !digits(typed, 0, 2) || !digits(typed, 3, 2) ||
      !digits(typed, 6, 2))
    return std::nullopt;
  const int day = two_digits(typed, 0);
  const int month = two_digits(typed, 3);
  const int year = 2000 + two_digits(typed, 6);
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  return "20" + std::string(typed.substr(6, 2)) + std::string(typed.substr(3, 2)) + std::string(typed.substr(0, 2));
}

// hhmm of a time of day hh:mm.
std::optional<std::string> minute_of(std::string_view typed) {
  if (typed.size() != 5 || typed[2] != ':' || !digits(typed, 0, 2) || !digits(typed, 3, 2)) return std::nullopt;
  if (two_digits(typed, 0) > 23 || two_digits(typed, 3) > 59) return std::nullopt;
  return std::string(typed.substr(0, 2)) + std::string(typed.substr(3, 2));
}

// "dd.mm.yy" of a TS's day.
std::string typed_date(std::string_view ts) {
  return std::string(ts.substr(6, 2)) + "." + std::string(ts.substr(4, 2)) + "." + std::string(ts.substr(2, 2));
}

std::unique_ptr<archive::JournalExport> exporter_of(archive::ExportFormat format, render::DocumentKind kind,
                                                    const render::Organisation& organisation, render::LineSink& lines,
                                                    archive::ByteSink bytes) {
  switch (format) {
    case archive::ExportFormat::Xml: return archive::xml_export(std::move(bytes));
    case archive::ExportFormat::Text: return archive::text_export(kind, organisation, lines);
    case archive::ExportFormat::Csv: return archive::csv_export(kind, std::move(bytes));
    case archive::ExportFormat::Json: return archive::json_export(kind, std::move(bytes));
    case archive::ExportFormat::Xlsx: break;  // written by its file's name, not through bytes
  }
  return nullptr;
}

}  // namespace

bool ArchiveView::takes(const archive::ArchivedDocument& document) const {
  if (from_minute.empty()) return true;
  const std::string_view minute = std::string_view(document.timestamp).substr(0, 12);
  return minute >= from_minute && minute <= to_minute;
}

std::variant<ArchiveView, std::string> read_view(const ArchiveFields& fields) {
  using By = archive::ArchiveSelection::By;
  if (fields.kind == render::DocumentKind::None) return text::say(TALQEN_PHRASE("ArchiveWindow", "Неверный тип документа"));
  ArchiveView view;
  view.kind = fields.kind;
  if (!fields.by_dates) {
    const std::optional<std::int32_t> first = whole_number(fields.first_number);
    const std::optional<std::int32_t> last = whole_number(fields.last_number);
    if (!first) return text::say(TALQEN_PHRASE("ArchiveWindow", "Неверный начальный номер"));
    if (!last) return text::say(TALQEN_PHRASE("ArchiveWindow", "Неверный конечный номер"));
    if (*last < *first) return text::say(TALQEN_PHRASE("ArchiveWindow", "Конечный номер должен быть не меньше начального!"));
    view.selection.by = fields.kind == render::DocumentKind::ZReports ? By::ZReportNumbers : By::DocumentNumbers;
    view.selection.first = *first;
    view.selection.last = *last;
    return view;
  }
  const std::optional<std::string> from_day = day_of(fields.start_date);
  const std::optional<std::string> to_day = day_of(fields.end_date);
  const std::optional<std::string> from_time = minute_of(fields.start_time);
  const std::optional<std::string> to_time = minute_of(fields.end_time);
  if (!from_day) return text::say(TALQEN_PHRASE("ArchiveWindow", "Неверная начальная дата"));
  if (!to_day) return text::say(TALQEN_PHRASE("ArchiveWindow", "Неверная конечная дата"));
  if (!from_time || !to_time) return text::say(TALQEN_PHRASE("ArchiveWindow", "Неверное время"));
  if (*from_day + *from_time > *to_day + *to_time)
    return text::say(TALQEN_PHRASE("ArchiveWindow", "Конечная дата должна быть не меньше начальной!"));
  view.selection.by = By::Dates;
  view.selection.from_date = *from_day;
  view.selection.to_date = *to_day;
  view.from_minute = *from_day + *from_time;
  view.to_minute = *to_day + *to_time;
  return view;
}

std::string summary_line(const ArchiveSummary& summary) {
  std::string line = text::say(TALQEN_PHRASE("ArchiveWindow", "Документов: %1"), {std::to_string(summary.documents)});
  if (!summary.held_runs.empty()) {
    std::string runs;
    for (std::size_t i = 0; i < summary.held_runs.size(); ++i) {
      if (i == ArchiveSummary::kShownRuns) {
        runs += ", ...";
        break;
      }
      const auto& [first, last] = summary.held_runs[i];
      if (i > 0) runs += ", ";
      runs += std::to_string(first);
      if (last != first) runs += std::string("–"_cp1251) + std::to_string(last);
    }
    line += text::say(TALQEN_PHRASE("ArchiveWindow", "; номера %1"), {runs});
  }
  const std::string_view filled = summary.last_filled;
  if (filled.size() >= 19)
    line += text::say(TALQEN_PHRASE("ArchiveWindow", "; пополнен %1 UTC"),
                      {std::string(filled.substr(8, 2)) + "." + std::string(filled.substr(5, 2)) + "." +
                       std::string(filled.substr(0, 4)) + " " + std::string(filled.substr(11, 8))});
  return line;
}

std::string SelectionResult::problem() const {
  if (archive_error) return text::from_utf8(*archive_error);
  if (file_failed) return text::say(TALQEN_PHRASE("ArchiveWindow", "Невозможно записать файл"));
  if (failure)
    return text::say(TALQEN_PHRASE("ArchiveWindow", "Документ %1 не читается: %2"),
                     {std::to_string(failure->document_number), failure->reason});
  if (stopped) return text::say(TALQEN_PHRASE("ArchiveWindow", "Остановлено"));
  if (selected == 0) return text::say(TALQEN_PHRASE("ArchiveWindow", "В архиве нет документов этой выборки"));
  if (written == 0) return text::say(TALQEN_PHRASE("ArchiveWindow", "Среди документов выборки нет документов этого типа"));
  return {};
}

ArchiveSummary read_summary(const std::string& path) {
  const archive::Database db(path, archive::Database::Mode::ReadOnly);
  ArchiveSummary summary;
  archive::Statement totals = db.prepare("SELECT count(*), max(fetched_at), max(timestamp) FROM document");
  if (totals.step()) {
    summary.documents = totals.integer(0);
    if (!totals.is_null(1)) summary.last_filled = std::string(totals.text(1));
    if (!totals.is_null(2)) summary.last_timestamp = std::string(totals.text(2));
    while (totals.step()) {
    }
  }
  // Runs of consecutive numbers: within one, number minus its rank stays the same.
  archive::Statement runs = db.prepare(
      "SELECT min(number), max(number) FROM (SELECT number, number - row_number() OVER (ORDER BY number) AS run "
      "FROM document) GROUP BY run ORDER BY 1 LIMIT " +
      std::to_string(ArchiveSummary::kShownRuns + 1));
  while (runs.step()) summary.held_runs.emplace_back(runs.integer(0), runs.integer(1));
  return summary;
}

void ArchiveWindowLogic::open(const std::string& path) {
  auto tape = std::make_unique<archive::TapeArchive>(archive::TapeArchive::open_existing(path));
  ArchiveSummary summary = read_summary(path);
  identity_ = tape->identity();
  summary_ = std::move(summary);
  tape_ = std::move(tape);
  path_ = path;
}

void ArchiveWindowLogic::refresh_summary() {
  if (tape_) summary_ = read_summary(path_);
}

ArchiveFields ArchiveWindowLogic::default_fields() const {
  ArchiveFields fields;
  if (!summary_.held_runs.empty()) {
    fields.first_number = std::to_string(summary_.held_runs.front().first);
    // The last of the shown runs is the last held only when there are no more.
    fields.last_number = std::to_string(summary_.held_runs.size() <= ArchiveSummary::kShownRuns
                                            ? summary_.held_runs.back().second
                                            : summary_.held_runs[ArchiveSummary::kShownRuns - 1].second);
  } else {
    fields.first_number = fields.last_number = "1";
  }
  if (summary_.last_timestamp.size() >= 8) {
    fields.by_dates = true;
    fields.start_date = fields.end_date = typed_date(summary_.last_timestamp);
  }
  return fields;
}

SelectionResult ArchiveWindowLogic::feed(const ArchiveView& view, archive::JournalExport& exporter,
                                         const GoOn& go_on) const {
  SelectionResult result;
  if (!tape_) return result;
  try {
    tape_->visit(view.selection, [&](const archive::ArchivedDocument& document) {
      if (!view.takes(document)) return;
      ++result.selected;
      exporter.add(document);
      if (exporter.failure()) throw Stopped{};
      if (go_on && !go_on(result.selected)) {
        result.stopped = true;
        throw Stopped{};
      }
    });
    exporter.finish();
  } catch (const Stopped&) {
  } catch (const archive::ArchiveError& e) {
    result.archive_error = e.what();
  }
  result.written = exporter.documents_written();
  result.failure = exporter.failure();
  return result;
}

SelectionResult ArchiveWindowLogic::show(const ArchiveView& view, const render::Organisation& organisation,
                                         render::PackedLines& lines, const GoOn& go_on) const {
  lines.clear();
  render::LineSink sink(lines);
  const auto exporter = archive::text_export(view.kind, organisation, sink);
  SelectionResult result = feed(view, *exporter, go_on);
  if (result.failure) retrieval::AppendFailureLines(lines);
  return result;
}

SelectionResult ArchiveWindowLogic::export_to(const std::string& path, archive::ExportFormat format,
                                              const ArchiveView& view, const render::Organisation& organisation,
                                              const GoOn& go_on) const {
  SelectionResult result;
  bool made = false;
  if (format == archive::ExportFormat::Xlsx) {
    // The workbook is written under a temporary name beside the file, put in place when whole.
    const bool replaced = text::replace_file_by_name(path, [&](const std::filesystem::path& temporary) {
      made = true;
      const auto exporter = archive::xlsx_export(view.kind, temporary);
      result = feed(view, *exporter, go_on);
      return result.problem().empty();
    });
    if (result.failure && result.failure->write_failed) result.failure.reset();
    if (!made || (!replaced && result.problem().empty())) result.file_failed = true;
    return result;
  }
  bool ok = true;  // every byte reached the temporary file
  const bool replaced = text::replace_file(path, [&](std::FILE* f) {
    made = true;
    render::LineSink lines([&](std::string&& line) { ok = ok && text::write_bytes(f, line) && text::write_bytes(f, "\r\n"); });
    const auto exporter = exporter_of(format, view.kind, organisation, lines, [&](std::string_view bytes) {
      ok = ok && text::write_bytes(f, bytes);
      return ok;
    });
    result = feed(view, *exporter, go_on);
    return ok && result.problem().empty();
  });
  if (result.failure && result.failure->write_failed) result.failure.reset();
  // No temporary file, a byte not written, or a whole export that could not be put in place.
  if (!made || !ok || (!replaced && result.problem().empty())) result.file_failed = true;
  return result;
}

VerificationReport ArchiveWindowLogic::verify(const ArchiveView& view, const GoOn& go_on) const {
  VerificationReport report;
  if (!tape_) return report;
  if (const std::optional<std::string> damage = archive::TapeArchive::damage(path_)) {
    const archive::Finding finding = archive::damage_finding(*damage);
    report.findings.push_back({archive::finding_line(finding), 0, 0, finding});
    report.summary.findings = 1;
    report.summary_line = archive::verification_summary_line(report.summary);
    return report;
  }
  using By = archive::ArchiveSelection::By;
  archive::ArchiveSelection selection = view.selection;
  if (selection.by == By::ZReportNumbers) {
    // The shifts those Z-reports close: from the first one's document to the last one's.
    std::optional<std::int32_t> first, last;
    tape_->visit(selection, [&](const archive::ArchivedDocument& document) {
      if (!document.unreadable.empty()) return;  // its number may be none a register gives
      if (!first) first = static_cast<std::int32_t>(document.number);
      last = static_cast<std::int32_t>(document.number);
    });
    if (!first) {
      report.summary_line = archive::verification_summary_line(report.summary);
      return report;
    }
    selection = {By::DocumentNumbers, *first, *last, {}, {}};
  }
  std::int64_t read = 0;
  try {
    report.summary = archive::verify_archive(
        *tape_, selection,
        [&](const archive::Finding& finding) {
          // A finding about a row whose number no register gives leads to no documents.
          const auto shown = [](std::int64_t number) {
            return number >= 1 && number <= archive::kMaxDocumentNumber ? static_cast<std::int32_t>(number) : 0;
          };
          report.findings.push_back(
              {archive::finding_line(finding), shown(finding.first_document), shown(finding.last_document), finding});
        },
        [&] {
          if (go_on && !go_on(++read)) throw Stopped{};
        });
  } catch (const Stopped&) {
    report.stopped = true;
  }
  report.summary_line = archive::verification_summary_line(report.summary);
  return report;
}

}  // namespace app
