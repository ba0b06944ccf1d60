// SPDX-License-Identifier: GPL-3.0-or-later
// The findings of a verification as lines a person and a script read, the same in
// talqen-cli and in the desktop program: tab-separated, each field but the first labelled.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/tape_verification.hpp"

namespace archive {

// A figure as the line shows it: amounts with two places, counts whole, texts as they
// stand (Windows-1251), "-" for none.
std::string figure_text(const std::optional<Figure>& figure);
// Found less expected in the unit of the figures; "-" where there is none.
std::string difference_text(const Finding& finding);
// "5" or the run "5-7".
std::string documents_text(const Finding& finding);

// "finding\tdocument 5-7\tZ 41\twhat\texpected X\tfound Y\tdifference D" (Windows-1251).
std::string finding_line(const Finding& finding);
// "summary\tdocuments N\tZ-reports Z, checked C\tfindings F".
std::string verification_summary_line(const VerificationSummary& summary);

}  // namespace archive
