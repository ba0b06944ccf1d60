// SPDX-License-Identifier: GPL-3.0-or-later
// The two lines a retrieval appends to the visible list when the journal it fetched could
// not be parsed, loaded or rendered.
#pragma once

#include <string>
#include <vector>

#include "text/cp1251.hpp"

namespace retrieval {

template <class Lines>  // a list of strings or render::PackedLines
void AppendFailureLines(Lines& lines) {
  using namespace text::literals;
  lines.emplace_back("Непредвиденный сбой в структуре получаемой информации!"_cp1251);
  lines.emplace_back("Попробуйте выбрать другой диапазон номеров или дат!"_cp1251);
}

}  // namespace retrieval
