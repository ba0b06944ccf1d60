// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts the windows were designed with: a small sans serif, 8 points, so that every
// caption fits the designed size of its control, and the journal list's fixed pitch.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace ui {

inline QFont designed_font() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// The journal list's face: "Courier New", whose fixed pitch keeps the rendered columns in
// line. Where the system has no such face (Wine), a scalable fixed-pitch face of the
// system that writes Cyrillic instead.
inline QFont journal_font() {
  QFont font(QStringLiteral("Courier New"), 8);
  font.setStyleHint(QFont::TypeWriter);
  if (QFontInfo(font).fixedPitch()) return font;
  for (const QString& family : QFontDatabase::families(QFontDatabase::Cyrillic)) {
    if (QFontDatabase::isFixedPitch(family) && QFontDatabase::isSmoothlyScalable(family)) {
      font.setFamily(family);
      break;
    }
  }
  return font;
}

}  // namespace ui
