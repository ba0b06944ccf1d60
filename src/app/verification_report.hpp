// SPDX-License-Identifier: GPL-3.0-or-later
// The verification of an archive's selection as the desktop program shows it: one line
// per finding, as `talqen-cli verify` prints them, each with the documents it concerns,
// and the summary line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/tape_verification.hpp"
#include "archive/verification_lines.hpp"

namespace app {

struct VerificationReport {
  struct Line {
    std::string text;
    std::int32_t first_document = 0;  // the documents the finding concerns
    std::int32_t last_document = 0;
    archive::Finding finding;         // what the line says, for the window's words
  };
  std::vector<Line> findings;
  archive::VerificationSummary summary;
  std::string summary_line;
  bool stopped = false;

  // The findings, then the summary line: what `talqen-cli verify` prints.
  std::vector<std::string> text_lines() const;
};

}  // namespace app
