// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/language.hpp"

#include <string>

namespace app {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string_view language_code(Language language) { return language == Language::Ukrainian ? "uk" : "ru"; }

std::optional<Language> language_of_code(std::string_view code) {
  if (code.size() != 2) return std::nullopt;
  const std::string lowered{lower(code[0]), lower(code[1])};
  if (lowered == "uk") return Language::Ukrainian;
  if (lowered == "ru") return Language::Russian;
  return std::nullopt;
}

Language language_of_system(std::string_view system_language) {
  // The language is what stands before the region, the encoding or the variant.
  const std::size_t end = system_language.find_first_of("-_.@");
  return language_of_code(system_language.substr(0, end)) == Language::Ukrainian ? Language::Ukrainian
                                                                                   : Language::Russian;
}

}  // namespace app
