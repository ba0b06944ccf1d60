// SPDX-License-Identifier: GPL-3.0-or-later
// Reading talqen-cli's "Name: value" record lines in tests.
#pragma once

#include <string>

namespace testing_support {

// The value of the line "name: value", or "<missing>".
inline std::string record_value(const std::string& output, const std::string& name) {
  const std::string text = "\n" + output;
  const std::size_t at = text.find("\n" + name + ": ");
  if (at == std::string::npos) return "<missing>";
  const std::size_t start = at + name.size() + 3;
  return text.substr(start, text.find('\n', start) - start);
}

}  // namespace testing_support
