#include "cli/render_command.hpp"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "text/atomic_file.hpp"

namespace cli {

int run_render(const Options& options, const Terminal& terminal) {
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--kind", "-o"}, error);
  const std::optional<render::DocumentKind> kind = args ? kind_argument(*args, error) : std::nullopt;
  if (kind && args->positional.size() != 1)
    error = args->positional.empty() ? "render needs a journal file" : "more than one journal";
  if (!error.empty()) {
    terminal.error(terminal.typed("talqen-cli render: " + error));
    return kExitUsage;
  }
  const std::string& journal_path = args->positional.front();
  const auto journal_text = text::read_file(journal_path);
  if (!journal_text) {
    terminal.error(terminal.typed("talqen-cli render: cannot read " + journal_path));
    return kExitUsage;
  }
  // The lines go out as they are made: a journal of a year is never held as lines.
  bool rendered = false;
  if (const std::string* output = args->value("-o")) {
    // The lines go straight into the new file. A text that fails late takes them back:
    // that file is dropped, and one with the lines after the discard alone replaces the old.
    bool discarded = false;
    std::vector<std::string> after_discard;
    bool written = text::replace_file(*output, [&](std::FILE* f) {
      bool ok = true;
      render::LineSink sink(
          [&](std::string&& line) {
            if (discarded)
              after_discard.push_back(std::move(line));
            else
              ok = ok && text::write_bytes(f, line) && text::write_bytes(f, "\r\n");
          },
          [&] { discarded = true; });
      rendered = retrieval::RenderJournalText(*journal_text, *kind, sink);
      return ok && !discarded;
    });
    if (discarded) {
      written = text::replace_file(*output, [&](std::FILE* f) {
        for (const std::string& line : after_discard)
          if (!text::write_bytes(f, line) || !text::write_bytes(f, "\r\n")) return false;
        return true;
      });
    }
    if (!written) {
      terminal.error(terminal.typed("talqen-cli render: cannot write " + *output));
      return kExitFailed;
    }
  } else {
    render::LineSink sink([&](std::string&& line) { terminal.line(line); });
    rendered = retrieval::RenderJournalText(*journal_text, *kind, sink);
  }
  return rendered ? kExitDone : kExitFailed;
}

}  // namespace cli
