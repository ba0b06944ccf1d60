// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal_progress.hpp"

#include <cstdio>

namespace cli {

std::string progress_bar(std::int64_t done, std::int64_t total) {
  constexpr int kBarWidth = 20;
  const double part = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
  const int filled = static_cast<int>(part * kBarWidth);
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') + "]";
}

std::string time_left(std::int64_t done, std::int64_t total, std::int64_t elapsed_ms) {
  if (done <= 0 || done >= total) return {};
  const double left_s =
      static_cast<double>(elapsed_ms) / 1000.0 / static_cast<double>(done) * static_cast<double>(total - done);
  char text[64];
  std::snprintf(text, sizeof text, ", about %.0f s left", left_s);
  return text;
}

std::string progress_figures(const retrieval::RetrievalProgress& p, std::int64_t elapsed_ms) {
  // Of the range, what this run asks: numbers passed over (an archive's held ones) are not its work.
  const std::int64_t total = p.numbers_to_ask;
  char text[160];
  // Numbers asked and documents received apart: an absent number is no document.
  std::snprintf(text, sizeof text, " %lld/%lld asked, %lld documents, %.1f KB", static_cast<long long>(p.documents_done),
                static_cast<long long>(total), static_cast<long long>(p.documents_kept),
                static_cast<double>(p.bytes_received) / 1024.0);
  return progress_bar(p.documents_done, total) + text + time_left(p.documents_done, total, elapsed_ms);
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
