// SPDX-License-Identifier: GPL-3.0-or-later
// The rendered lines as a text file, as "Сохранить" writes them: Windows-1251 bytes, each
// line followed by CR LF, no header and nothing after the last line.
#pragma once

#include <span>
#include <string>

#include "render/packed_lines.hpp"

namespace retrieval {

// Writes the lines to a temporary file beside path and renames it over path, so that a
// failure (a full disk, a directory that cannot be written) leaves an existing file as it
// was and no partial file behind. Returns false on any failure.
bool save_lines(const std::string& path, std::span<const std::string> lines);
bool save_lines(const std::string& path, const render::PackedLines& lines);

}  // namespace retrieval
