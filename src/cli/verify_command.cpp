// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/verify_command.hpp"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "archive/journal_export.hpp"
#include "archive/tape_archive.hpp"
#include "archive/tape_verification.hpp"
#include "archive/verification_lines.hpp"
#include "cli/archive_selection_arguments.hpp"
#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "cli/stop_signals.hpp"
#include "text/atomic_file.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace cli {

namespace {

struct VerifyRequest {
  TapeSource source;
  archive::ArchiveSelection selection;
  bool json = false;
  bool dates_reversed = false;
};

std::optional<VerifyRequest> parse(const Options& options, std::string& error) {
  const auto args = parse_command_arguments(options.arguments, {"--db", "--register", "--from", "--to", "--format"}, error);
  if (!args) return std::nullopt;
  VerifyRequest request;
  std::optional<TapeSource> source = tape_source(*args, error);
  if (!source) return std::nullopt;
  request.source = std::move(*source);
  if (const std::string* format = args->value("--format")) {
    const std::string named = lower_case(*format);
    if (named != "text" && named != "json") {
      error = "unknown format: " + *format + " (text or json)";
      return std::nullopt;
    }
    request.json = named == "json";
  }
  if (!select_archived_documents(*args, false, request.selection, request.dates_reversed, error) &&
      !request.dates_reversed)
    return std::nullopt;
  return request;
}

std::string figure_json(const std::optional<archive::Figure>& figure) {
  if (!figure) return "null";
  if (figure->unit == archive::Figure::Unit::Text) return archive::json_string(text::to_utf8(figure->text));
  return archive::figure_text(figure);
}

std::string finding_json(const archive::Finding& f) {
  const std::string difference = archive::difference_text(f);
  const std::string difference_text = difference == "-" ? "null" : difference;
  // Document 0 is the file as a whole.
  const auto document = [](std::int64_t number) { return number == 0 ? std::string("null") : std::to_string(number); };
  return std::string("{\"kind\":\"") + (f.note ? "note" : "finding") + "\",\"document\":" +
         document(f.first_document) + ",\"last_document\":" + document(f.last_document) +
         ",\"z_number\":" + (f.z_number ? std::to_string(*f.z_number) : "null") +
         ",\"what\":" + archive::json_string(text::to_utf8(f.what)) + ",\"expected\":" + figure_json(f.expected) +
         ",\"found\":" + figure_json(f.found) + ",\"difference\":" + difference_text + "}";
}

// A signal asks the verification to stop between two documents.
struct Stopped {};

}  // namespace

int run_verify(const Options& options, const Terminal& terminal) {
  std::string error;
  const std::optional<VerifyRequest> request = parse(options, error);
  if (!request) {
    return usage_error(terminal, "verify", error);
  }
  // A damaged file is one finding before anything in it is read. The centre's server
  // keeps its own pages whole.
  const std::optional<std::string> damage = request->dates_reversed || request->source.centre()
                                                ? std::nullopt
                                                : archive::TapeArchive::damage(request->source.db);
  std::unique_ptr<archive::TapeStore> tape;
  if (!damage) {
    tape = open_selected_archive("verify", request->source, request->dates_reversed, terminal);
    if (!tape) return kExitUsage;
  }

  bool first = true;
  bool written = true;
  const auto put_json = [&](std::string_view bytes) { written = text::write_bytes(stdout, bytes) && written; };
  const archive::FindingSink sink = [&](const archive::Finding& f) {
    if (!request->json) {
      terminal.line(archive::finding_line(f));
      return;
    }
    put_json(std::string(first ? "{\"findings\":[\n" : ",\n") + finding_json(f));
    first = false;
  };
  archive::VerificationSummary summary;
  try {
    if (damage) {
      sink(archive::damage_finding(*damage));
      summary.findings = 1;
    } else {
      summary = archive::verify_archive(*tape, request->selection, sink, [] {
        if (StopSignals::received() != 0) throw Stopped{};
      });
    }
  } catch (const Stopped&) {
    std::fflush(stdout);
    return StopSignals::exit_status();
  } catch (const archive::ArchiveError& e) {
    std::fflush(stdout);
    terminal.error(terminal.typed(std::string("talqen-cli verify: ") + e.what()));
    return kExitUsage;
  }
  if (request->json) {
    put_json(std::string(first ? "{\"findings\":[" : "\n") + "],\n\"summary\":{\"documents\":" +
             std::to_string(summary.documents) + ",\"z_reports\":" + std::to_string(summary.z_reports) +
             ",\"z_reports_checked\":" + std::to_string(summary.z_reports_checked) +
             ",\"findings\":" + std::to_string(summary.findings) + "}}\n");
  } else {
    terminal.line(archive::verification_summary_line(summary));
  }
  std::fflush(stdout);
  if (!written) {
    terminal.error(terminal.typed("talqen-cli verify: cannot write stdout"));
    return kExitFailed;
  }
  if (summary.documents == 0 && summary.findings == 0) {
    terminal.error(terminal.typed("talqen-cli verify: nothing selected: " + request->source.described() +
                                  " holds no document in that selection"));
    return kExitFailed;
  }
  if (summary.findings == 0) return kExitDone;
  terminal.error(terminal.typed("talqen-cli verify: " + std::to_string(summary.findings) +
                                (summary.findings == 1 ? " finding" : " findings")));
  return kExitFailed;
}

}  // namespace cli
