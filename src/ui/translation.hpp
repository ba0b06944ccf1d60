// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's language through Qt's translation system: the program's own
// catalogue (talqen_uk.qm, built from src/ui/translations) and Qt's for its own texts
// (qtbase_ru.qm, qtbase_uk.qm: the file dialog, the context menus, the boxes' buttons),
// both in the program's resources. The core's texts are asked of the same catalogues
// (text::say), so that a message composed below the windows speaks their language. Every
// window retranslates itself on Qt's LanguageChange.
#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

#include "app/language.hpp"
#include "text/wording.hpp"

namespace ui {

class Translation final {
 public:
  // The core's texts are translated while this lives.
  Translation();
  ~Translation();
  Translation(const Translation&) = delete;
  Translation& operator=(const Translation&) = delete;

  // Installs the language's catalogues in place of the ones before.
  void apply(app::Language language);
  app::Language language() const { return language_; }

  // The system's preferred language of its user interface (Windows' display language,
  // LANGUAGE, LC_ALL, LC_MESSAGES or LANG elsewhere), as Qt reads it.
  static QString system_language();

 private:
  class Catalogue final : public text::Catalogue {
   public:
    std::string translate(const text::Phrase& phrase) const override;
  };
  Catalogue catalogue_;
  std::unique_ptr<QTranslator> own_, qt_;
  app::Language language_ = app::Language::Russian;
};

}  // namespace ui
