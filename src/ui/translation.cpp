// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/translation.hpp"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include "text/cp1251.hpp"
#include "ui/qt_text.hpp"

namespace ui {

std::string Translation::Catalogue::translate(const text::Phrase& phrase) const {
  const std::string source = text::to_utf8(phrase.russian);
  const QString translated = QCoreApplication::translate(phrase.context, source.c_str());
  // Untranslated, the Russian stands as it was written, byte for byte.
  if (translated == QString::fromUtf8(source)) return std::string(phrase.russian);
  return from_qstring(translated);
}

Translation::Translation() { text::set_program_catalogue(&catalogue_); }

Translation::~Translation() {
  text::set_program_catalogue(nullptr);
  if (own_) QCoreApplication::removeTranslator(own_.get());
  if (qt_) QCoreApplication::removeTranslator(qt_.get());
}

void Translation::apply(app::Language language) {
  if (own_) QCoreApplication::removeTranslator(own_.get());
  if (qt_) QCoreApplication::removeTranslator(qt_.get());
  own_.reset();
  qt_.reset();
  language_ = language;
  const QString code = QString::fromLatin1(app::language_code(language).data(), 2);
  // Russian is the program's own wording: only Qt's texts need a catalogue.
  if (language != app::Language::Russian) {
    auto own = std::make_unique<QTranslator>();
    if (own->load(QStringLiteral(":/i18n/talqen_") + code)) {
      QCoreApplication::installTranslator(own.get());
      own_ = std::move(own);
    }
  }
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QStringLiteral(":/i18n/qtbase_") + code)) {
    QCoreApplication::installTranslator(qt.get());
    qt_ = std::move(qt);
  }
}

QString Translation::system_language() { return QLocale::system().uiLanguages().value(0); }

}  // namespace ui
