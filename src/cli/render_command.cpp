#include "cli/render_command.hpp"

#include <exception>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "cli/raw_command.hpp"
#include "journal/journal_container.hpp"
#include "journal/journal_loader.hpp"
#include "journal/sootv.hpp"
#include "journal/xml_dom.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/failure_lines.hpp"
#include "retrieval/line_file.hpp"

namespace cli {

namespace {

struct RenderArguments {
  std::string journal_path;
  int choice = render::document_choice::kBoth;
  std::optional<std::string> output_path;
};

std::optional<int> parse_kind(const std::string& kind) {
  if (kind == "z") return render::document_choice::kZReports;
  if (kind == "receipt") return render::document_choice::kReceipts;
  if (kind == "both") return render::document_choice::kBoth;
  return std::nullopt;
}

// The arguments, or the reason they are not usable.
std::optional<RenderArguments> parse_arguments(const std::vector<std::string>& args, std::string& error) {
  RenderArguments parsed;
  bool have_journal = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--kind" || a == "-o") {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return std::nullopt;
      }
      const std::string& v = args[++i];
      if (a == "-o") {
        parsed.output_path = v;
      } else if (const auto kind = parse_kind(v)) {
        parsed.choice = *kind;
      } else {
        error = "unknown kind: " + v + " (z, receipt or both)";
        return std::nullopt;
      }
    } else if (a.size() > 1 && a[0] == '-') {
      error = "unknown option: " + a;
      return std::nullopt;
    } else if (have_journal) {
      error = "more than one journal: " + a;
      return std::nullopt;
    } else {
      parsed.journal_path = a;
      have_journal = true;
    }
  }
  if (!have_journal) {
    error = "render needs a journal file";
    return std::nullopt;
  }
  return parsed;
}

std::optional<std::string> read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(content).str();
}

}  // namespace

bool RenderJournalText(std::string_view journal_text, int choice, render::LineList& lines) {
  // A fresh journal window: nothing was requested by ordinal, no Z-report linked yet.
  journal::rq journal;
  journal::control state;
  const journal::sootv document_by_ordinal;
  journal::sootv document_by_z_number;
  render::RenderContext context{choice, document_by_ordinal, document_by_z_number};
  try {
    const journal::dom::Document document = journal::dom::Document::parse(journal_text);
    journal::LoadJournal(document.root(), journal, state);
    render::RenderJournal(journal, context, lines);
    return true;
  } catch (const std::exception&) {
    // Whatever failed, the user sees the journal as unreadable, as after a retrieval.
    retrieval::AppendFailureLines(lines);
    return false;
  }
}

int run_render(const Options& options, const Terminal& terminal) {
  std::string error;
  const auto args = parse_arguments(options.arguments, error);
  if (!args) {
    terminal.error(terminal.typed("talqen-cli render: " + error));
    return kExitUsage;
  }
  const auto text = read_whole_file(args->journal_path);
  if (!text) {
    terminal.error(terminal.typed("talqen-cli render: cannot read " + args->journal_path));
    return kExitUsage;
  }
  render::LineList lines;
  const bool rendered = RenderJournalText(*text, args->choice, lines);
  if (args->output_path) {
    if (!retrieval::save_lines(*args->output_path, lines)) {
      terminal.error(terminal.typed("talqen-cli render: cannot write " + *args->output_path));
      return kExitFailed;
    }
  } else {
    for (const std::string& line : lines) terminal.line(line);
  }
  return rendered ? kExitDone : kExitFailed;
}

}  // namespace cli
