// SPDX-License-Identifier: GPL-3.0-or-later
// The two lines a retrieval appends to the visible list when the journal it fetched could
// not be parsed, loaded or rendered.
#pragma once

#include <string>
#include <vector>

#include "text/cp1251.hpp"
#include "text/wording.hpp"

namespace retrieval {

template <class Lines>  // a list of strings or render::PackedLines
void AppendFailureLines(Lines& lines) {
  using namespace text::literals;
  lines.emplace_back(text::say(TALQEN_PHRASE("JournalWindow", "Непредвиденный сбой в структуре получаемой информации!")));
  lines.emplace_back(text::say(TALQEN_PHRASE("JournalWindow", "Попробуйте выбрать другой диапазон номеров или дат!")));
}

}  // namespace retrieval
