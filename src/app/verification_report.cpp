#include "app/verification_report.hpp"

#include <optional>

namespace app {

namespace {

// Hundredths exactly, as the journal text writes them: 62945 is "629.45", -5 is "-0.05".
std::string hundredths_text(std::int64_t n) {
  const bool negative = n < 0;
  // Through unsigned, so that the most negative value has its digits too.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  const std::uint64_t cents = magnitude % 100;
  return (negative ? "-" : "") + std::to_string(magnitude / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

std::string figure_text(const std::optional<archive::Figure>& figure) {
  if (!figure) return "-";
  switch (figure->unit) {
    case archive::Figure::Unit::Hundredths: return hundredths_text(figure->number);
    case archive::Figure::Unit::Whole: return std::to_string(figure->number);
    case archive::Figure::Unit::Text: return figure->text;
  }
  return "-";
}

}  // namespace

std::string finding_line(const archive::Finding& f) {
  std::string documents = std::to_string(f.first_document);
  if (f.last_document != f.first_document) documents += "-" + std::to_string(f.last_document);
  const std::optional<std::int64_t> difference = f.difference();
  std::string difference_text = "-";
  if (difference)
    difference_text = f.found->unit == archive::Figure::Unit::Hundredths ? hundredths_text(*difference)
                                                                          : std::to_string(*difference);
  return std::string(f.note ? "note" : "finding") + "\tdocument " + documents + "\tZ " +
         (f.z_number ? std::to_string(*f.z_number) : "-") + "\t" + f.what + "\texpected " + figure_text(f.expected) +
         "\tfound " + figure_text(f.found) + "\tdifference " + difference_text;
}

std::string verification_summary_line(const archive::VerificationSummary& s) {
  return "summary\tdocuments " + std::to_string(s.documents) + "\tZ-reports " + std::to_string(s.z_reports) +
         ", checked " + std::to_string(s.z_reports_checked) + "\tfindings " + std::to_string(s.findings);
}

std::vector<std::string> VerificationReport::text_lines() const {
  std::vector<std::string> lines;
  for (const Line& line : findings) lines.push_back(line.text);
  lines.push_back(summary_line);
  return lines;
}

}  // namespace app
