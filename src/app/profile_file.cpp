// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/profile_file.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "text/atomic_file.hpp"

namespace app {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

struct Line {
  std::string text;     // without its line break
  std::string newline;  // "\r\n", "\n" or "" for a last line without one
};

// The lines of the file, or nothing when it cannot be opened or read through.
std::optional<std::vector<Line>> read_lines(const std::string& path) {
  const std::optional<std::string> file = text::read_file(path);
  if (!file) return std::nullopt;
  const std::string& content = *file;
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t lf = content.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const bool cr = lf > start && content[lf - 1] == '\r';
    lines.push_back({content.substr(start, lf - start - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
    start = lf + 1;
  }
  return lines;
}

// "[Name]" gives Name.
std::optional<std::string_view> section_of(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(t.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> key_of(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

// Where a key stands: the index of its line, or of the last line of its section.
struct Place {
  std::optional<std::size_t> section_line;
  std::optional<std::size_t> key_line;
  std::size_t section_end = 0;  // one past the last non-blank line of the section
};

Place find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place p;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto s = section_of(lines[i].text)) {
      if (inside) break;
      inside = !p.section_line && same_name(*s, section);
      if (inside) {
        p.section_line = i;
        p.section_end = i + 1;
      }
      continue;
    }
    if (!inside) continue;
    if (!trim(lines[i].text).empty()) p.section_end = i + 1;
    const auto k = key_of(lines[i].text);
    if (k && same_name(k->key, key)) {
      p.key_line = i;
      break;
    }
  }
  return p;
}

std::optional<std::string> lookup(const std::string& path, std::string_view section, std::string_view key) {
  const auto lines = read_lines(path);
  if (!lines) return std::nullopt;
  const Place p = find(*lines, section, key);
  if (!p.key_line) return std::nullopt;
  std::string_view value = key_of((*lines)[*p.key_line].text)->value;
  // A value in matching quotes is given without them.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

}  // namespace

std::string read_profile_text(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view fallback, std::size_t limit) {
  const std::optional<std::string> value = lookup(path, section, key);
  return std::string(value ? *value : fallback).substr(0, limit);
}

int read_profile_integer(const std::string& path, std::string_view section, std::string_view key, int fallback) {
  const std::optional<std::string> value = lookup(path, section, key);
  if (!value) return fallback;
  std::size_t i = 0;
  const bool negative = i < value->size() && (*value)[i] == '-';
  if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+')) ++i;
  const std::size_t digits_start = i;
  long long n = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i)
    n = std::min<long long>(n * 10 + ((*value)[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  if (i == digits_start) return fallback;
  n = negative ? -n : n;
  return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

ProfileWrite write_profile_text(const std::string& path, std::string_view section, std::string_view key,
                                std::string_view value) {
  std::optional<std::vector<Line>> read = read_lines(path);
  if (!read) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) return ProfileWrite::Unreadable;
    read.emplace();  // a new file
  }
  std::vector<Line>& lines = *read;
  // New lines follow the file's own line breaks; a new file gets CR LF.
  std::string newline = "\r\n";
  for (const Line& l : lines)
    if (!l.newline.empty()) {
      newline = l.newline;
      break;
    }
  const std::string entry = std::string(key) + "=" + std::string(value);
  const Place p = find(lines, section, key);
  if (p.key_line) {
    lines[*p.key_line].text = entry;
  } else if (p.section_line) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(p.section_end), Line{entry, newline});
  } else {
    lines.push_back({"[" + std::string(section) + "]", newline});
    lines.push_back({entry, newline});
  }
  std::string content;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    content += lines[i].text;
    // A last line that had no break gets one when something follows it.
    content += lines[i].newline.empty() && i + 1 < lines.size() ? newline : lines[i].newline;
  }
  return text::replace_file(path, content) ? ProfileWrite::Written : ProfileWrite::Failed;
}

}  // namespace app
