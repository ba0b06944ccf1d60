// SPDX-License-Identifier: GPL-3.0-or-later
// What the journal window lends a rendering: the document kind the user chose and the
// two number maps that link Z-reports to the numbers under which they were requested.
#pragma once

#include <string>
#include <string_view>

#include "journal/number_map.hpp"
#include "text/cp1251.hpp"

namespace render {

// The documents the user asked to see. None stands for a document-kind box whose typed
// text names none of its items: no document is rendered then.
enum class DocumentKind { None, ZReports, Receipts, Both };

// The document-kind box's items are "Z-отчет", "Чек", "Чек+Z-отчет" in this order; any
// other index (-1: no item) is None.
inline DocumentKind DocumentKindOfItem(int item_index) {
  switch (item_index) {
    case 0: return DocumentKind::ZReports;
    case 1: return DocumentKind::Receipts;
    case 2: return DocumentKind::Both;
    default: return DocumentKind::None;
  }
}
inline int ItemOfDocumentKind(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::ZReports: return 0;
    case DocumentKind::Receipts: return 1;
    case DocumentKind::Both: return 2;
    case DocumentKind::None: break;
  }
  return -1;
}

namespace organisation_defaults {
using namespace text::literals;
// The register's own two head lines: the shop and its town.
inline constexpr std::string_view kName = "ДП \"Компанія OBRIM\""_cp1251;
inline constexpr std::string_view kCity = "м.Київ"_cp1251;
}  // namespace organisation_defaults

// The two lines naming the shop and its town at the head of every document, each centred
// (Windows-1251), so that a shop of any legal form can name itself. An empty text keeps
// the register's own line.
struct Organisation {
  std::string name{organisation_defaults::kName};
  std::string city{organisation_defaults::kCity};
};

// Whether the choice shows a document of this kind.
inline bool ShowsDocument(DocumentKind kind, bool is_receipt) {
  return is_receipt ? kind == DocumentKind::Receipts || kind == DocumentKind::Both
                    : kind == DocumentKind::ZReports || kind == DocumentKind::Both;
}

struct RenderContext {
  DocumentKind kind = DocumentKind::Both;
  // Ordinal of a document in the request order -> its requested number; read only.
  const journal::number_map& document_by_ordinal;
  // Z-report number -> requested document number; filled in the mode kBoth, for printing.
  journal::number_map& document_by_z_number;
  Organisation organisation{};
};

}  // namespace render
