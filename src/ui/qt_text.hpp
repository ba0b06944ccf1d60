// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 text at the edge of the widgets: converted for display only, and back
// where a person types it.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "text/cp1251.hpp"

namespace ui {

inline QString to_qstring(std::string_view cp1251) {
  const std::u16string utf16 = text::to_utf16(cp1251);
  return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

inline std::string from_qstring(const QString& s) {
  return text::from_utf16(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                              static_cast<std::size_t>(s.size())));
}

}  // namespace ui
