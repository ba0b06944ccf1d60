// SPDX-License-Identifier: GPL-3.0-or-later
// The arguments of one command: its options that take a value, in any order, and the
// rest in order.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/render_context.hpp"

namespace cli {

struct CommandArguments {
  std::map<std::string, std::string, std::less<>> values;
  std::vector<std::string> positional;

  const std::string* value(std::string_view option) const;
};

// value_options: the options the command knows. A negative number is positional; any
// other argument starting with "-" that is not one of them is an error.
std::optional<CommandArguments> parse_command_arguments(const std::vector<std::string>& args,
                                                        std::initializer_list<std::string_view> value_options,
                                                        std::string& error);

// --kind z|receipt|both, both when it is not given;
// nullopt, with the reason in error, for any other kind.
std::optional<render::DocumentKind> kind_argument(const CommandArguments& args, std::string& error);

// Whether two paths name one file, existing or not.
bool same_file(std::string_view a, std::string_view b);

// A whole number, sign allowed, that fits 32 bits.
std::optional<int> parse_int(std::string_view text);

}  // namespace cli
