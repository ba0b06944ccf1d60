// The font the windows were designed with: a small sans serif, 8 points, so that every
// caption fits the designed size of its control.
#pragma once

#include <QFont>

namespace ui {

inline QFont designed_font() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace ui
