// SPDX-License-Identifier: GPL-3.0-or-later
// fpinit.ini with any content: reading never fails, and a key written reads back as it
// was written, whatever else the file holds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/profile_file.hpp"
#include "fuzz_input.hpp"
#include "text/atomic_file.hpp"

namespace {

// What a section, key or value can be so that it reads back the same: printable, no
// separators of the format, no blanks or quotes at its ends.
std::string plain(std::string s, bool is_value) {
  std::string out;
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    const bool separator = c == '[' || c == ']' || c == '=' || c == ';';
    if (u >= 0x21 && u != 0x7F && !(separator && !is_value) && c != '"' && c != '\'') out += c;
  }
  return out.substr(0, 200);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input in(data, size);
  static const std::string path = "/tmp/talqen-profile-fuzz-" + std::to_string(::getpid()) + ".ini";
  const std::string content = in.chunk();
  const std::string section = plain(in.chunk(), false);
  const std::string key = plain(in.chunk(), false);
  const std::string value = plain(in.chunk(), true);
  text::replace_file(path, content);
  (void)app::read_profile_text(path, "Communication", "Port", "", 9);
  (void)app::read_profile_integer(path, "Fiscal Printer", "Reply", 1);
  if (section.empty() || key.empty()) return 0;
  if (app::write_profile_text(path, section, key, value) != app::ProfileWrite::Written) __builtin_trap();
  if (app::read_profile_text(path, section, key, "<missing>", 1000) != value) __builtin_trap();
  return 0;
}
