// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal_output.hpp"

#include "cli/raw_command.hpp"

#include "text/cp1251.hpp"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli {

void Terminal::put(std::FILE* f, std::string_view cp1251) const {
  const std::string bytes = encoding_ == Encoding::Utf8 ? text::to_utf8(cp1251) : std::string(cp1251);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fputc('\n', f);
}

void Terminal::status(std::string_view cp1251) const {
  const std::string bytes = encoding_ == Encoding::Utf8 ? text::to_utf8(cp1251) : std::string(cp1251);
  std::fputc('\r', err_);
  std::fwrite(bytes.data(), 1, bytes.size(), err_);
  std::fputs("\x1b[K", err_);  // the rest of a longer previous line
  std::fflush(err_);
}

std::string Terminal::typed(const std::string& text) const {
  return encoding_ == Encoding::Utf8 ? text::from_utf8(text) : text;
}

bool stderr_is_terminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return ::isatty(::fileno(stderr)) != 0;
#endif
}

std::string hex_bytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[c >> 4];
    out += kDigits[c & 0x0F];
  }
  return out;
}

int usage_error(const Terminal& terminal, std::string_view command, const std::string& problem) {
  terminal.error(terminal.typed("talqen-cli " + std::string(command) + ": " + problem));
  terminal.error(kHelpHint);
  return kExitUsage;
}

}  // namespace cli
