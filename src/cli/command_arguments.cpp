#include "cli/command_arguments.hpp"

#include <charconv>

#include "render/render_context.hpp"

namespace cli {

const std::string* CommandArguments::value(std::string_view option) const {
  const auto it = values.find(option);
  return it == values.end() ? nullptr : &it->second;
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
    bool known = false;
    for (std::string_view o : value_options) known = known || o == a;
    if (!known) {
      error = "unknown option: " + a;
      return std::nullopt;
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
  const std::string* kind = args.value("--kind");
  if (!kind || *kind == "both") return render::DocumentKind::Both;
  if (*kind == "z") return render::DocumentKind::ZReports;
  if (*kind == "receipt") return render::DocumentKind::Receipts;
  error = "unknown kind: " + *kind + " (z, receipt or both)";
  return std::nullopt;
}

}  // namespace cli
