// SPDX-License-Identifier: GPL-3.0-or-later
// The program's files: read whole, and replaced atomically. Every file the program
// writes (fpinit.ini, temp.xml, the saved lines) is written under a temporary name of
// this process beside it, flushed to the disk, and renamed over the old file. A crash, a
// full disk or a directory that cannot be written leaves the old file as it was and no
// partial file behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// write puts the content into the open file and returns false on a failure. Returns
// false when anything failed; the temporary file is removed then.
bool replace_file(const std::string& path, const std::function<bool(std::FILE*)>& write);

bool replace_file(const std::string& path, std::string_view content);

// The same for a writer that opens the file by its name itself (a library writing a
// container format): write is given the name of a new, empty file beside path, which it
// fills and closes. A file it leaves there is removed on a failure as above.
bool replace_file_by_name(const std::string& path,
                          const std::function<bool(const std::filesystem::path& temporary)>& write);

// The whole content, read into one string of the file's size; nothing when the file
// cannot be opened or read through.
std::optional<std::string> read_file(const std::string& path);

// fwrite of all bytes, true when every byte was written.
bool write_bytes(std::FILE* f, std::string_view bytes);

}  // namespace text
