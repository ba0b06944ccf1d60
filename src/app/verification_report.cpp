// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/verification_report.hpp"


namespace app {

std::vector<std::string> VerificationReport::text_lines() const {
  std::vector<std::string> lines;
  for (const Line& line : findings) lines.push_back(line.text);
  lines.push_back(summary_line);
  return lines;
}

}  // namespace app
