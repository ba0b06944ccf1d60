#include "cli/render_command.hpp"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "journal/journal_errors.hpp"
#include "journal/journal_loader.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/failure_lines.hpp"
#include "text/atomic_file.hpp"

namespace cli {

namespace {

enum class TextState { Whole, CutShort, Unreadable };

// Loads document after document; a text that ends in the middle keeps the documents
// before the cut. A value that is no number spoils the journal as in the window.
TextState load_whole_documents(std::string_view text, journal::loaded_journal& journal, journal::loader_state& state) {
  journal::JournalLoader loader(journal, state);
  try {
    journal::dom::JournalReader reader(text);
    loader.WalkAttributes(reader.root().attributes());
    while (const std::optional<journal::dom::Node> child = reader.next_child()) loader.WalkNode(*child);
    return TextState::Whole;
  } catch (const journal::ParseError&) {
    return journal.doc_count > 0 ? TextState::CutShort : TextState::Unreadable;
  } catch (const journal::ConversionError&) {
    return TextState::Unreadable;
  }
}

void talk_failure(render::LineSink& talk) {
  render::LineList failure;
  retrieval::AppendFailureLines(failure);
  for (std::string& line : failure) talk.push_back(std::move(line));
}

}  // namespace

bool render_whole_documents(std::string_view journal_text, render::DocumentKind kind,
                            const render::Organisation& organisation, render::LineSink& documents,
                            render::LineSink& talk) {
  // A fresh journal window: nothing was requested by ordinal, no Z-report linked yet.
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::number_map document_by_ordinal;
  journal::number_map document_by_z_number;
  const TextState read = load_whole_documents(journal_text, journal, state);
  if (read == TextState::Unreadable) {
    talk_failure(talk);
    return false;
  }
  if (journal.doc_count <= 0) {
    render::LineList empty;
    render::RenderContext context{kind, document_by_ordinal, document_by_z_number, organisation};
    render::RenderJournal(journal, context, empty);  // the line of an empty journal
    for (std::string& line : empty) talk.push_back(std::move(line));
    return read == TextState::Whole;
  }
  try {
    render::RenderContext context{kind, document_by_ordinal, document_by_z_number, organisation};
    render::RenderJournal(journal, context, documents);
  } catch (const std::exception&) {
    talk_failure(talk);
    return false;
  }
  if (read == TextState::CutShort) talk_failure(talk);
  return read == TextState::Whole;
}

int run_render(const Options& options, const Terminal& terminal, const render::Organisation& organisation) {
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--kind", "-o"}, error);
  const std::optional<render::DocumentKind> kind = args ? kind_argument(*args, error) : std::nullopt;
  if (kind && args->positional.size() != 1)
    error = args->positional.empty() ? "render needs a journal file" : "more than one journal";
  if (!error.empty()) {
    terminal.error(terminal.typed("talqen-cli render: " + error));
    terminal.error(kHelpHint);
    return kExitUsage;
  }
  const std::string& journal_path = args->positional.front();
  if (const std::string* output = args->value("-o");
      output && (same_file(*output, journal_path) || same_file(*output, "temp.xml"))) {
    terminal.error(terminal.typed("talqen-cli render: -o " + *output + " would overwrite a journal text"));
    terminal.error(kHelpHint);
    return kExitUsage;
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
