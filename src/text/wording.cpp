// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/wording.hpp"

#include <atomic>

namespace text {

namespace {

std::atomic<const Catalogue*> installed{nullptr};

}  // namespace

void set_program_catalogue(const Catalogue* catalogue) { installed.store(catalogue); }

std::string fill(std::string_view template_text, std::initializer_list<std::string_view> arguments) {
  std::string out;
  out.reserve(template_text.size());
  for (std::size_t i = 0; i < template_text.size(); ++i) {
    const char c = template_text[i];
    if (c == '%' && i + 1 < template_text.size() && template_text[i + 1] >= '1' && template_text[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(template_text[i + 1] - '1');
      if (n < arguments.size()) {
        out += *(arguments.begin() + n);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string say(const Phrase& phrase, std::initializer_list<std::string_view> arguments) {
  const Catalogue* catalogue = installed.load();
  if (!catalogue) return fill(phrase.russian, arguments);
  return fill(catalogue->translate(phrase), arguments);
}

}  // namespace text
