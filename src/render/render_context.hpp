// What the journal window lends a rendering: the document kind the user chose and the
// two number maps that link Z-reports to the numbers under which they were requested.
#pragma once

#include "journal/sootv.hpp"

namespace render {

// The item index of the document-kind box; -1 (nothing chosen) or any other value
// renders no document.
namespace document_choice {
inline constexpr int kZReports = 0;
inline constexpr int kReceipts = 1;
inline constexpr int kBoth = 2;
}  // namespace document_choice

struct RenderContext {
  int choice = document_choice::kBoth;
  // Ordinal of a document in the request order -> its requested number; read only.
  const journal::sootv& document_by_ordinal;
  // Z-report number -> requested document number; filled in the mode kBoth, for printing.
  journal::sootv& document_by_z_number;
};

}  // namespace render
