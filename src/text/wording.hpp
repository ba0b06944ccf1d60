// SPDX-License-Identifier: GPL-3.0-or-later
// Texts for a person, in the language the person reads. Each is a template in Russian,
// the system's own wording and the catalogue's key, with %1..%9 where its arguments go
// (numbers, names, what the register sent), which are never translated. The program's
// catalogue gives the template in the user's language: the desktop program installs one
// that asks Qt's translations; without one (talqen-cli, the tests) the Russian stands,
// byte for byte.
//
// TALQEN_PHRASE("Context", "Текст") is such a template; TALQEN_NOOP("Context", "Текст")
// only marks a literal (in a table) for the catalogue, which the code that shows it
// translates under the same context. lupdate reads both as QT_TRANSLATE_NOOP.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "text/cp1251.hpp"

#define TALQEN_PHRASE(context, russian) (::text::Phrase{context, russian##_cp1251})
#define TALQEN_NOOP(context, russian) russian##_cp1251

namespace text {

struct Phrase {
  const char* context;      // ASCII: what the texts of one kind share in the catalogue
  std::string_view russian;  // Windows-1251
};

class Catalogue {
 public:
  virtual ~Catalogue() = default;
  // The phrase's template in the user's language (Windows-1251); its Russian when the
  // catalogue has none.
  virtual std::string translate(const Phrase& phrase) const = 0;
};

// The program's catalogue (nullptr: the Russian templates as written).
void set_program_catalogue(const Catalogue* catalogue);

// The template with %1..%9 replaced by the arguments in turn; a % before anything else
// stays as it is, as does a mark without its argument.
std::string fill(std::string_view template_text, std::initializer_list<std::string_view> arguments);

// The phrase in the user's language, its arguments filled in.
std::string say(const Phrase& phrase, std::initializer_list<std::string_view> arguments = {});

}  // namespace text
