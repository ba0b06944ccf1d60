#include "cli/render_command.hpp"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "retrieval/line_file.hpp"

namespace cli {

namespace {

std::optional<std::string> read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(content).str();
}

}  // namespace

int run_render(const Options& options, const Terminal& terminal) {
  std::string error;
  const auto args = parse_command_arguments(options.arguments, {"--kind", "-o"}, error);
  const std::optional<int> choice = args ? kind_argument(*args, error) : std::nullopt;
  if (choice && args->positional.size() != 1)
    error = args->positional.empty() ? "render needs a journal file" : "more than one journal";
  if (!error.empty()) {
    terminal.error(terminal.typed("talqen-cli render: " + error));
    return kExitUsage;
  }
  const std::string& journal_path = args->positional.front();
  const auto text = read_whole_file(journal_path);
  if (!text) {
    terminal.error(terminal.typed("talqen-cli render: cannot read " + journal_path));
    return kExitUsage;
  }
  render::LineList lines;
  const bool rendered = retrieval::RenderJournalText(*text, *choice, lines);
  if (const std::string* output = args->value("-o")) {
    if (!retrieval::save_lines(*output, lines)) {
      terminal.error(terminal.typed("talqen-cli render: cannot write " + *output));
      return kExitFailed;
    }
  } else {
    for (const std::string& line : lines) terminal.line(line);
  }
  return rendered ? kExitDone : kExitFailed;
}

}  // namespace cli
