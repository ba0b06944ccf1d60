#include "cli/render_command.hpp"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/command_arguments.hpp"
#include "cli/raw_command.hpp"
#include "retrieval/journal_pipeline.hpp"
#include "text/atomic_file.hpp"

namespace cli {

namespace {

// Read straight into one string of the file's size: a journal of a year is held once.
std::optional<std::string> read_whole_file(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string content;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) content.reserve(static_cast<std::size_t>(size));
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return content;
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
  // The lines go out as they are made: a journal of a year is never held as lines.
  bool rendered = false;
  if (const std::string* output = args->value("-o")) {
    const bool written = text::replace_file(*output, [&](std::FILE* f) {
      bool ok = true;
      render::LineSink sink([&](std::string&& line) { ok = ok && text::write_bytes(f, line) && text::write_bytes(f, "\r\n"); });
      rendered = retrieval::RenderJournalText(*text, *choice, sink);
      return ok;
    });
    if (!written) {
      terminal.error(terminal.typed("talqen-cli render: cannot write " + *output));
      return kExitFailed;
    }
  } else {
    render::LineSink sink([&](std::string&& line) { terminal.line(line); });
    rendered = retrieval::RenderJournalText(*text, *choice, sink);
  }
  return rendered ? kExitDone : kExitFailed;
}

}  // namespace cli
