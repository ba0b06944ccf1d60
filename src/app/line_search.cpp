// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/line_search.hpp"

#include <algorithm>
#include <array>

namespace app {

namespace {

// Each byte's small letter: A-Z; А-Я (0xC0-0xDF) to 0xE0-0xFF; and the letters outside
// that run, each beside its small one.
constexpr std::array<unsigned char, 256> small_letters() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
  for (int b = 'A'; b <= 'Z'; ++b) table[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
  for (int b = 0xC0; b <= 0xDF; ++b) table[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
  constexpr std::array<std::array<unsigned char, 2>, 14> pairs = {{
      {0x80, 0x90},  // Ђ ђ
      {0x81, 0x83},  // Ѓ ѓ
      {0x8A, 0x9A},  // Љ љ
      {0x8C, 0x9C},  // Њ њ
      {0x8D, 0x9D},  // Ќ ќ
      {0x8E, 0x9E},  // Ћ ћ
      {0x8F, 0x9F},  // Џ џ
      {0xA1, 0xA2},  // Ў ў
      {0xA3, 0xBC},  // Ј ј
      {0xA5, 0xB4},  // Ґ ґ
      {0xA8, 0xB8},  // Ё ё
      {0xAA, 0xBA},  // Є є
      {0xAF, 0xBF},  // Ї ї
      {0xB2, 0xB3},  // І і
  }};
  for (const auto& [capital, small] : pairs) table[capital] = small;
  table[0xBD] = 0xBE;  // Ѕ ѕ
  return table;
}

constexpr std::array<unsigned char, 256> kSmall = small_letters();

}  // namespace

std::string fold_case(std::string_view cp1251) {
  std::string folded(cp1251);
  for (char& c : folded) c = static_cast<char>(kSmall[static_cast<unsigned char>(c)]);
  return folded;
}

std::optional<std::size_t> find_line(const render::PackedLines& lines, std::string_view needle,
                                     std::optional<std::size_t> from, SearchDirection direction) {
  const std::size_t n = lines.size();
  if (needle.empty() || n == 0) return std::nullopt;
  const std::string wanted = fold_case(needle);
  // The folded needle against the line as it stands: no line is copied to be folded.
  const auto same = [](char a, char b) { return kSmall[static_cast<unsigned char>(a)] == static_cast<unsigned char>(b); };
  const auto holds = [&](const std::string& line) {
    return std::search(line.begin(), line.end(), wanted.begin(), wanted.end(), same) != line.end();
  };
  const bool forwards = direction == SearchDirection::Forwards;
  // Steps from the starting line round to it: every line once, `from` last.
  std::size_t at = from ? std::min(*from, n - 1) : (forwards ? n - 1 : 0);
  std::string line;
  for (std::size_t step = 0; step < n; ++step) {
    at = forwards ? (at + 1 == n ? 0 : at + 1) : (at == 0 ? n - 1 : at - 1);
    lines.read(at, line);
    if (holds(line)) return at;
  }
  return std::nullopt;
}

}  // namespace app
