#include "retrieval/line_file.hpp"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace retrieval {

namespace {

namespace fs = std::filesystem;

// A name beside the target that nobody else is using: "x" opens only a file that does not
// exist yet.
std::FILE* open_temporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary += "." + std::to_string(ticks % 1000000007ull) + "-" + std::to_string(counter++) + ".tmp";
    if (std::FILE* f = std::fopen(temporary.string().c_str(), "wbx")) return f;
    std::error_code ec;
    if (!fs::exists(temporary, ec)) return nullptr;  // not a name clash: the directory refuses
  }
  return nullptr;
}

bool write_all(std::FILE* f, std::span<const std::string> lines) {
  for (const std::string& line : lines) {
    if (std::fwrite(line.data(), 1, line.size(), f) != line.size()) return false;
    if (std::fwrite("\r\n", 1, 2, f) != 2) return false;
  }
  if (std::fflush(f) != 0) return false;
#ifndef _WIN32
  // On the disk before the rename makes it the file, so a crash cannot leave it empty.
  if (::fsync(::fileno(f)) != 0) return false;
#endif
  return true;
}

}  // namespace

bool save_lines(const std::string& path, std::span<const std::string> lines) {
  const fs::path target(path);
  fs::path temporary;
  std::FILE* f = open_temporary(target, temporary);
  if (f == nullptr) return false;
  const bool written = write_all(f, lines);
  const bool closed = std::fclose(f) == 0;
  std::error_code ec;
  if (written && closed) {
    fs::rename(temporary, target, ec);
    if (!ec) return true;
  }
  fs::remove(temporary, ec);
  return false;
}

}  // namespace retrieval
