// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/atomic_file.hpp"

#include <atomic>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace text {

namespace {

namespace fs = std::filesystem;

long process_id() {
#ifdef _WIN32
  return static_cast<long>(_getpid());
#else
  return static_cast<long>(::getpid());
#endif
}

// Opens a file for writing only when it does not exist yet. The Windows C runtime's fopen
// knows no "x" (Wine's ignores it and truncates the file), so there the same is done
// through _open with _O_EXCL.
std::FILE* create_new(const std::string& path) {
#ifdef _WIN32
  const int fd = ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* f = ::_fdopen(fd, "wb");
  if (f == nullptr) ::_close(fd);
  return f;
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

// A name beside the target that no other process and no other write of this one uses.
std::FILE* open_temporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary += "." + std::to_string(process_id()) + "-" + std::to_string(counter++) + ".tmp";
    if (std::FILE* f = create_new(temporary.string())) return f;
    std::error_code ec;
    if (!fs::exists(temporary, ec)) return nullptr;  // not a name clash: the directory refuses
  }
  return nullptr;
}

bool flush_to_disk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  // On the disk before the rename makes it the file, so a crash cannot leave it empty.
  return ::fsync(::fileno(f)) == 0;
#endif
}

}  // namespace

std::optional<std::string> read_file(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string content;
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (!ec) content.reserve(static_cast<std::size_t>(size));
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return content;
}

bool write_bytes(std::FILE* f, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

bool replace_file(const std::string& path, const std::function<bool(std::FILE*)>& write) {
  const fs::path target(path);
  fs::path temporary;
  std::FILE* f = open_temporary(target, temporary);
  if (f == nullptr) return false;
  const bool written = write(f) && flush_to_disk(f);
  const bool closed = std::fclose(f) == 0;
  std::error_code ec;
  if (written && closed) {
    fs::rename(temporary, target, ec);
    if (!ec) return true;
  }
  fs::remove(temporary, ec);
  return false;
}

bool replace_file_by_name(const std::string& path,
                          const std::function<bool(const std::filesystem::path& temporary)>& write) {
  const fs::path target(path);
  fs::path temporary;
  std::FILE* created = open_temporary(target, temporary);
  if (created == nullptr) return false;
  // Created here, so that the name is this write's alone; the writer opens it again.
  bool written = std::fclose(created) == 0 && write(temporary);
  if (written) {
    std::FILE* f = std::fopen(temporary.string().c_str(), "r+b");
    written = f != nullptr && flush_to_disk(f);
    if (f != nullptr) written = std::fclose(f) == 0 && written;
  }
  std::error_code ec;
  if (written) {
    fs::rename(temporary, target, ec);
    if (!ec) return true;
  }
  fs::remove(temporary, ec);
  return false;
}

bool replace_file(const std::string& path, std::string_view content) {
  return replace_file(path, [content](std::FILE* f) { return write_bytes(f, content); });
}

}  // namespace text
