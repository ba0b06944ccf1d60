// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a text among shown lines, as "Найти" with "Далее" and "Назад" do: the next or
// the previous line holding it, in any case of Latin and Cyrillic letters, going round
// at either end.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "render/packed_lines.hpp"

namespace app {

enum class SearchDirection { Forwards, Backwards };

// The Windows-1251 text with every capital letter, Latin or Cyrillic (Ukrainian,
// Belarusian and the other Cyrillic letters of the code page among them), made small.
std::string fold_case(std::string_view cp1251);

// The line after `from` (Forwards) or before it (Backwards) that holds `needle`, the
// search going round past the end or the start and ending at `from` itself; without a
// line to start from, the first (Forwards) or the last (Backwards) line is looked at
// first. Nothing when no line holds it, or the needle is empty.
std::optional<std::size_t> find_line(const render::PackedLines& lines, std::string_view needle,
                                     std::optional<std::size_t> from, SearchDirection direction);

}  // namespace app
