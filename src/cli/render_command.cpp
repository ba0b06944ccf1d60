// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render_command.hpp"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "retrieval/failure_lines.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "text/cp1251.hpp"
#include "text/atomic_file.hpp"

using namespace text::literals;

namespace cli {

namespace {

void talk_failure(render::LineSink& talk) {
  render::LineList failure;
  retrieval::AppendFailureLines(failure);
  for (std::string& line : failure) talk.push_back(std::move(line));
}

}  // namespace

bool render_whole_documents(std::string_view journal_text, render::DocumentKind kind,
                            const render::Organisation& organisation, render::LineSink& documents,
                            render::LineSink& talk) {
  using Shown = retrieval::ShownText;
  const Shown shown = retrieval::RenderWholeDocuments(journal_text, kind, organisation, documents);
  if (shown.outcome == Shown::Whole && shown.documents <= 0)
    talk.emplace_back("Запрашиваемые данные отсутствуют!"_cp1251);
  if (shown.outcome != Shown::Whole) talk_failure(talk);
  return shown.outcome == Shown::Whole;
}

int run_render(const Options& options, const Terminal& terminal, const render::Organisation& organisation) {
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--kind", "-o"}, error);
  const std::optional<render::DocumentKind> kind = args ? kind_argument(*args, error) : std::nullopt;
  if (kind && args->positional.size() != 1)
    error = args->positional.empty() ? "render needs a journal file" : "more than one journal";
  if (!error.empty()) {
    return usage_error(terminal, "render", error);
  }
  const std::string& journal_path = args->positional.front();
  if (const std::string* output = args->value("-o");
      output && (same_file(*output, journal_path) || same_file(*output, "temp.xml"))) {
    return usage_error(terminal, "render", "-o " + *output + " would overwrite a journal text");
  }
  const auto journal_text = text::read_file(journal_path);
  if (!journal_text) {
    terminal.error(terminal.typed("talqen-cli render: cannot read " + journal_path));
    return kExitUsage;
  }
  render::LineSink talk([&](std::string&& line) { terminal.error(line); });
  // The lines go out as they are made: a journal of a year is never held as lines.
  bool whole = false;
  const std::string* output = args->value("-o");
  if (output && *output != "-") {
    bool any = false;
    bool opened = false;
    const bool written = text::replace_file(*output, [&](std::FILE* f) {
      opened = true;
      bool ok = true;
      render::LineSink documents([&](std::string&& line) {
        any = true;
        ok = ok && text::write_bytes(f, line) && text::write_bytes(f, "\r\n");
      });
      whole = render_whole_documents(*journal_text, *kind, organisation, documents, talk);
      // Without a document line the file is not replaced.
      return ok && any;
    });
    if (!written && (any || !opened)) {
      terminal.error(terminal.typed("talqen-cli render: cannot write " + *output));
      return kExitFailed;
    }
  } else {
    render::LineSink documents([&](std::string&& line) { terminal.line(line); });
    whole = render_whole_documents(*journal_text, *kind, organisation, documents, talk);
  }
  return whole ? kExitDone : kExitFailed;
}

}  // namespace cli
