// SPDX-License-Identifier: GPL-3.0-or-later
#include "retrieval/line_file.hpp"

#include "text/atomic_file.hpp"

namespace retrieval {

bool save_lines(const std::string& path, std::span<const std::string> lines) {
  return text::replace_file(path, [lines](std::FILE* f) {
    for (const std::string& line : lines)
      if (!text::write_bytes(f, line) || !text::write_bytes(f, "\r\n")) return false;
    return true;
  });
}

bool save_lines(const std::string& path, const render::PackedLines& lines) {
  return text::replace_file(path, [&lines](std::FILE* f) {
    std::string line;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      lines.read(i, line);
      if (!text::write_bytes(f, line) || !text::write_bytes(f, "\r\n")) return false;
    }
    return true;
  });
}

}  // namespace retrieval
