// SPDX-License-Identifier: GPL-3.0-or-later
// The date and time fields of the journal window keep their separators and show a
// missing digit as a blank, as their masks say: an empty date reads "  .  .  ", an empty
// time "  :  ", and the digits of a section typed short stand to the right of it
// (" 9:05", " 1. 5.24"), so that a part reads as a number with leading blanks.
#pragma once

#include <string>

namespace ui {

// The field's text from what the line edit displays (blanks for missing digits):
// within each section between separators, trailing blanks are moved to the front.
std::string MaskedFieldText(std::string displayed, char separator);

// Qt input masks with the meaning of the journal window's masks: a date of two-digit
// day, month and year, day and month digits optional; a time of a one- or two-digit
// hour and two-digit minutes.
inline constexpr const char* kDateMask = "00.00.99; ";
inline constexpr const char* kTimeMask = "09:99; ";

}  // namespace ui
