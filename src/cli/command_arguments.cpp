// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_arguments.hpp"

#include <charconv>
#include <filesystem>

#include "cli/cli_options.hpp"
#include "render/render_context.hpp"

namespace cli {

const std::string* CommandArguments::value(std::string_view option) const {
  const auto it = values.find(option);
  return it == values.end() ? nullptr : &it->second;
}

bool same_file(std::string_view a, std::string_view b) {
  const auto canonical = [](std::string_view path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
    return ec ? std::filesystem::path() : std::filesystem::weakly_canonical(absolute, ec);
  };
  const auto canonical_a = canonical(a);
  return !canonical_a.empty() && canonical_a == canonical(b);
}

std::optional<int> parse_int(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || at != end) return std::nullopt;
  return value;
}

std::optional<CommandArguments> parse_command_arguments(const std::vector<std::string>& args,
                                                        std::initializer_list<std::string_view> value_options,
                                                        std::string& error) {
  CommandArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool option = a.size() > 1 && a[0] == '-' && !parse_int(a);
    if (!option) {
      parsed.positional.push_back(a);
      continue;
    }
    const auto assignment = split_assignment(a);
    const std::string name = assignment ? assignment->first : a;
    bool known = false;
    for (std::string_view o : value_options) known = known || o == name;
    if (!known) {
      error = "unknown option: " + a;
      return std::nullopt;
    }
    if (assignment) {
      parsed.values[name] = assignment->second;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs a value";
      return std::nullopt;
    }
    parsed.values[a] = args[++i];
  }
  return parsed;
}

std::optional<render::DocumentKind> kind_argument(const CommandArguments& args, std::string& error) {
  const std::string* typed = args.value("--kind");
  const std::string kind = typed ? lower_case(*typed) : "both";
  if (kind == "both") return render::DocumentKind::Both;
  if (kind == "z") return render::DocumentKind::ZReports;
  if (kind == "receipt") return render::DocumentKind::Receipts;
  error = "unknown kind: " + *typed + " (z, receipt or both)";
  return std::nullopt;
}

}  // namespace cli
