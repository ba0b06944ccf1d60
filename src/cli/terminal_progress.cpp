// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal_progress.hpp"

#include <cstdio>

namespace cli {

std::string progress_figures(const retrieval::RetrievalProgress& p, std::int64_t elapsed_ms) {
  constexpr int kBarWidth = 20;
  // Of the range, what this run asks: numbers passed over (an archive's held ones) are not its work.
  const std::int64_t total = p.numbers_to_ask;
  const double done = total > 0 ? static_cast<double>(p.documents_done) / static_cast<double>(total) : 1.0;
  const int filled = static_cast<int>(done * kBarWidth);
  std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                    std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') + "]";
  char text[160];
  // Numbers asked and documents received apart: an absent number is no document.
  std::snprintf(text, sizeof text, " %lld/%lld asked, %lld documents, %.1f KB", static_cast<long long>(p.documents_done),
                static_cast<long long>(total), static_cast<long long>(p.documents_kept),
                static_cast<double>(p.bytes_received) / 1024.0);
  std::string line = bar + text;
  if (p.documents_done > 0 && p.documents_done < total) {
    const double left_s = static_cast<double>(elapsed_ms) / 1000.0 / static_cast<double>(p.documents_done) *
                          static_cast<double>(total - p.documents_done);
    std::snprintf(text, sizeof text, ", about %.0f s left", left_s);
    line += text;
  }
  return line;
}

void TerminalProgress::progress_made(const retrieval::RetrievalProgress& progress) {
  if (!shown_) return;
  terminal_.status(text_ + "  " + progress_figures(progress, clock_.now_ms() - started_ms_));
  drawn_ = true;
}

void TerminalProgress::hide() {
  if (drawn_) terminal_.status("");
  drawn_ = false;
}

}  // namespace cli
