// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/masked_field.hpp"

namespace ui {

std::string MaskedFieldText(std::string displayed, char separator) {
  std::size_t start = 0;
  while (start <= displayed.size()) {
    std::size_t end = displayed.find(separator, start);
    if (end == std::string::npos) end = displayed.size();
    std::size_t digits_end = end;
    while (digits_end > start && displayed[digits_end - 1] == ' ') --digits_end;
    // "1 " becomes " 1": the blanks of the section go in front of its digits.
    const std::string digits = displayed.substr(start, digits_end - start);
    const std::string blanks(end - digits_end, ' ');
    displayed.replace(start, end - start, blanks + digits);
    start = end + 1;
  }
  return displayed;
}

}  // namespace ui
