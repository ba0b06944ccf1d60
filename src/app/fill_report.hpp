// SPDX-License-Identifier: GPL-3.0-or-later
// What "Пополнить архив" tells at its end, in the user's language: what went wrong, if
// anything, then in one sentence what came. talqen-cli's archive command prints the
// same figures as one line for scripts (archive::FillSummary::line).
#pragma once

#include <string>
#include <vector>

#include "archive/archive_filling.hpp"

namespace app {

// "Получено документов: 13; в архиве уже были: 20." (Windows-1251): the documents fetched
// and those held before, then only what there is of the rest (absent, incomplete, not
// asked).
std::string fill_summary_sentence(const archive::FillSummary& summary);

// The box's text: the documents that came whole but cannot be read ("Документ N: why"),
// a lost port, each document that came in part, the failure lines of a journal that
// broke off, the archive's own failure, then the sentence; one a line.
std::string fill_report_text(const archive::FillOutcome& outcome, const std::vector<std::string>& unreadable);

}  // namespace app
