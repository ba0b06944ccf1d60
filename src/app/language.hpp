// SPDX-License-Identifier: GPL-3.0-or-later
// The language the desktop program speaks: Russian, the system's own wording, or
// Ukrainian. Chosen by the user and kept in fpinit.ini (app/config_file.hpp), or else
// the system's: Ukrainian when the system's user interface is Ukrainian, Russian otherwise.
#pragma once

#include <optional>
#include <string_view>

namespace app {

enum class Language { Russian, Ukrainian };

// "ru", "uk": the value kept in fpinit.ini and the suffix of the language's catalogues.
std::string_view language_code(Language language);
// The language of a code, in any case; nothing for another.
std::optional<Language> language_of_code(std::string_view code);

// The system's preferred language of its user interface as the system names it: a
// BCP 47 tag ("uk-UA", "ru", "en-US") or a POSIX locale ("uk_UA.UTF-8", "C").
Language language_of_system(std::string_view system_language);

}  // namespace app
