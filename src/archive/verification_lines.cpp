// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/verification_lines.hpp"

#include "archive/export_values.hpp"

namespace archive {

namespace {

std::string hundredths_text(std::int64_t n) { return ScaledNumber{n, 2}.text(); }

}  // namespace

std::string figure_text(const std::optional<Figure>& figure) {
  if (!figure) return "-";
  switch (figure->unit) {
    case Figure::Unit::Hundredths: return hundredths_text(figure->number);
    case Figure::Unit::Whole: return std::to_string(figure->number);
    case Figure::Unit::Text: return figure->text;
  }
  return "-";
}

std::string difference_text(const Finding& f) {
  const std::optional<std::int64_t> difference = f.difference();
  if (!difference) return "-";
  return f.found->unit == Figure::Unit::Hundredths ? hundredths_text(*difference) : std::to_string(*difference);
}

std::string documents_text(const Finding& f) {
  if (f.first_document == 0 && f.last_document == 0) return "-";  // the file as a whole
  std::string text = std::to_string(f.first_document);
  if (f.last_document != f.first_document) text += "-" + std::to_string(f.last_document);
  return text;
}

std::string finding_line(const Finding& f) {
  return std::string(f.note ? "note" : "finding") + "\tdocument " + documents_text(f) + "\tZ " +
         (f.z_number ? std::to_string(*f.z_number) : "-") + "\t" + f.what + "\texpected " + figure_text(f.expected) +
         "\tfound " + figure_text(f.found) + "\tdifference " + difference_text(f);
}

std::string verification_summary_line(const VerificationSummary& s) {
  return "summary\tdocuments " + std::to_string(s.documents) + "\tZ-reports " + std::to_string(s.z_reports) +
         ", checked " + std::to_string(s.z_reports_checked) + "\tfindings " + std::to_string(s.findings);
}

}  // namespace archive
