// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/export_command.hpp"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "archive/journal_export.hpp"
#include "archive/tape_store.hpp"
#include "archive/xlsx_export.hpp"
#include "cli/archive_selection_arguments.hpp"
#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "cli/retrieval_commands.hpp"
#include "cli/stop_signals.hpp"
#include "retrieval/failure_lines.hpp"
#include "text/atomic_file.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

namespace {

struct ExportRequest {
  TapeSource source;
  archive::ExportFormat format = archive::ExportFormat::Xml;
  render::DocumentKind kind = render::DocumentKind::Both;
  archive::ArchiveSelection selection;
  std::optional<std::string> output;  // -o; none or "-" for stdout
  bool dates_reversed = false;        // --to before --from
};

std::optional<ExportRequest> parse(const Options& options, std::string& error) {
  const auto args = parse_command_arguments(options.arguments, {"--db", "--register", "--from", "--to", "--kind", "--format", "-o"},
                                            error);
  if (!args) return std::nullopt;
  ExportRequest request;
  std::optional<TapeSource> source = tape_source(*args, error);
  if (!source) return std::nullopt;
  request.source = std::move(*source);
  const std::string* format = args->value("--format");
  if (!format) {
    error = "needs --format xml, text, csv, json or xlsx";
    return std::nullopt;
  }
  const std::optional<archive::ExportFormat> named = archive::export_format_named(*format);
  if (!named) {
    error = "unknown format: " + *format + " (xml, text, csv, json or xlsx)";
    return std::nullopt;
  }
  request.format = *named;
  const std::optional<render::DocumentKind> kind = kind_argument(*args, error);
  if (!kind) return std::nullopt;
  request.kind = *kind;
  if (!select_archived_documents(*args, request.kind == render::DocumentKind::ZReports, request.selection,
                                 request.dates_reversed, error))
    return request.dates_reversed ? std::optional(request) : std::nullopt;
  if (const std::string* output = args->value("-o")) request.output = *output;
  if (request.format == archive::ExportFormat::Xlsx && (!request.output || *request.output == "-")) {
    error = "xlsx needs -o FILE: a workbook is no terminal output";
    return std::nullopt;
  }
  if (request.output && *request.output != "-" && !request.source.centre() &&
      same_file(*request.output, request.source.db)) {
    error = "-o " + *request.output + " would overwrite the archive";
    return std::nullopt;
  }
  return request;
}

// A signal asks the export to stop between two documents.
struct Stopped {};

// Where the documents go: one exporter of the chosen form over lines or bytes.
std::unique_ptr<archive::JournalExport> make_export(const ExportRequest& request,
                                                    const render::Organisation& organisation,
                                                    render::LineSink& lines, archive::ByteSink bytes) {
  switch (request.format) {
    case archive::ExportFormat::Xml: return archive::xml_export(std::move(bytes));
    case archive::ExportFormat::Text: return archive::text_export(request.kind, organisation, lines);
    case archive::ExportFormat::Csv: return archive::csv_export(request.kind, std::move(bytes));
    case archive::ExportFormat::Json: return archive::json_export(request.kind, std::move(bytes));
    case archive::ExportFormat::Xlsx: break;  // written by its file's name, not through bytes
  }
  return nullptr;
}

struct ExportRun {
  std::int64_t selected = 0;                // documents the selection holds
  bool whole = false;                       // every one written out
  std::optional<std::string> archive_error; // the archive failed while it was read
};

ExportRun export_documents(const archive::TapeStore& tape, const ExportRequest& request,
                           archive::JournalExport& exporter) {
  ExportRun run;
  try {
    tape.visit(request.selection, [&](const archive::ArchivedDocument& document) {
      if (StopSignals::received() != 0) throw Stopped{};
      ++run.selected;
      exporter.add(document);
      if (exporter.failure()) throw Stopped{};
    });
    run.whole = exporter.finish();
  } catch (const Stopped&) {
  } catch (const archive::ArchiveError& e) {
    run.archive_error = e.what();
  }
  return run;
}

}  // namespace

int run_export(const Options& options, const Terminal& terminal, const render::Organisation& organisation) {
  std::string error;
  const std::optional<ExportRequest> request = parse(options, error);
  if (!request) {
    return usage_error(terminal, "export", error);
  }
  const std::unique_ptr<archive::TapeStore> tape = open_selected_archive("export", request->source, request->dates_reversed, terminal);
  if (!tape) return kExitUsage;

  ExportRun run;
  std::unique_ptr<archive::JournalExport> exporter;
  bool write_failed = false;
  const bool to_file = request->output && *request->output != "-";
  if (to_file) {
    bool ok = true;  // every byte reached the temporary file
    // Only a whole export replaces the file.
    const auto whole_export = [&] { return ok && run.whole && exporter->documents_written() > 0; };
    const bool written = request->format == archive::ExportFormat::Xlsx
        ? text::replace_file_by_name(*request->output, [&](const std::filesystem::path& temporary) {
            exporter = archive::xlsx_export(request->kind, temporary);
            run = export_documents(*tape, *request, *exporter);
            return whole_export();
          })
        : text::replace_file(*request->output, [&](std::FILE* f) {
            render::LineSink lines([&](std::string&& line) {
              ok = ok && text::write_bytes(f, line) && text::write_bytes(f, "\r\n");
            });
            exporter = make_export(*request, organisation, lines, [&](std::string_view bytes) {
              ok = ok && text::write_bytes(f, bytes);
              return ok;
            });
            run = export_documents(*tape, *request, *exporter);
            return whole_export();
          });
    // No temporary file, a byte not written (or a workbook not), or a whole export that
    // could not be put in place.
    write_failed = !exporter || !ok || (exporter->failure() && exporter->failure()->write_failed) ||
                   (!written && run.whole && exporter->documents_written() > 0);
    if (!exporter) {
      terminal.error(terminal.typed("talqen-cli export: cannot write " + *request->output));
      return kExitFailed;
    }
  } else {
    render::LineSink lines([&](std::string&& line) { terminal.line(line); });
    exporter = make_export(*request, organisation, lines, [](std::string_view bytes) {
      return text::write_bytes(stdout, bytes);
    });
    run = export_documents(*tape, *request, *exporter);
    write_failed = exporter->failure() && exporter->failure()->write_failed;
  }
  std::fflush(stdout);

  if (StopSignals::received() != 0) return StopSignals::exit_status();
  if (run.archive_error) {
    terminal.error(terminal.typed("talqen-cli export: " + *run.archive_error));
    return kExitFailed;
  }
  if (write_failed) {
    terminal.error(terminal.typed("talqen-cli export: cannot write " + (to_file ? *request->output : "stdout")));
    return kExitFailed;
  }
  if (const std::optional<archive::ExportFailure>& failure = exporter->failure()) {
    if (request->format == archive::ExportFormat::Text) {
      render::LineList lines;
      retrieval::AppendFailureLines(lines);
      for (const std::string& line : lines) terminal.error(line);
    }
    // The reason may quote the journal's own Windows-1251 text.
    terminal.error(terminal.typed("talqen-cli export: document " + std::to_string(failure->document_number) +
                                  " cannot be read: ") +
                   failure->reason);
    return kExitFailed;
  }
  if (run.selected == 0) {
    terminal.error(terminal.typed("talqen-cli export: nothing selected: " + request->source.described() +
                                  " holds no document in that selection"));
    return kExitFailed;
  }
  if (exporter->documents_written() == 0) {
    terminal.error(terminal.typed("talqen-cli export: nothing selected: no document of that kind among the " +
                                  std::to_string(run.selected) + " selected"));
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace cli
