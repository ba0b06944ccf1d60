// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of one retrieval (loaded_journal), the name tables that turn element and
// attribute names into codes (name_tables), and the loader's parse state (loader_state).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "journal/records.hpp"

namespace journal {

// Element codes; the loader dispatches on them. Z_M is an M inside a Z-report: the
// journal text never holds that name.
namespace element {
inline constexpr std::int32_t RQ = 0;
inline constexpr std::int32_t DAT = 1;
inline constexpr std::int32_t MAC = 2;
inline constexpr std::int32_t C = 3;
inline constexpr std::int32_t Z = 4;
inline constexpr std::int32_t TS = 5;
inline constexpr std::int32_t P = 6;
inline constexpr std::int32_t CP = 7;
inline constexpr std::int32_t D = 8;
inline constexpr std::int32_t S = 9;
inline constexpr std::int32_t M = 10;
inline constexpr std::int32_t I = 11;
inline constexpr std::int32_t O = 12;
inline constexpr std::int32_t L = 13;
inline constexpr std::int32_t H = 14;
inline constexpr std::int32_t VD = 15;
inline constexpr std::int32_t E = 16;
inline constexpr std::int32_t TXS = 17;
inline constexpr std::int32_t Z_M = 18;
inline constexpr std::int32_t IO = 19;
inline constexpr std::int32_t NC = 20;
inline constexpr std::int32_t TX = 21;
inline constexpr std::int32_t count = 22;
}  // namespace element

// Attribute codes: the position of a name in its element's attribute table. A name a
// table lacks reads as code 0, the table's first attribute.
namespace attribute {
namespace RQ { enum : std::int32_t { V }; }
namespace DAT { enum : std::int32_t { FN, TN, ZN, DI, DT, V }; }
namespace MAC { enum : std::int32_t { DI, NT }; }
namespace C { enum : std::int32_t { T }; }
namespace Z { enum : std::int32_t { NO }; }
namespace TS { enum : std::int32_t { text }; }  // its one attribute and its content
namespace sale { enum : std::int32_t { N, C, CD, NM, SM, Q, PRC, TX }; }          // P, CP
namespace adjustment { enum : std::int32_t { TR, TY, ST, NI, TX, PR, SM, N }; }   // D, S
namespace payment { enum : std::int32_t { N, T, NM, SM, RM, RRN }; }             // M of a receipt
namespace cash { enum : std::int32_t { N, T, NM, SM }; }                         // I, O
namespace text_line { enum : std::int32_t { N, text }; }  // L, H: the content is filed as text
namespace VD { enum : std::int32_t { N, NI }; }
namespace E { enum : std::int32_t { N, NO, SM, SE, TX, TXPR, TXSM, DTPR, DTSM, TXTY, TXAL, CS, VD, TS, FN }; }
namespace TXS { enum : std::int32_t { TX, TS, TXPR, TXI, TXO, DTPR, DTI, DTO, TXTY, TXAL, SMI, SMO }; }
namespace Z_M { enum : std::int32_t { T, NM, SMI, SMO }; }
namespace IO { enum : std::int32_t { T, NM, SMI, SMO, SMT }; }
namespace NC { enum : std::int32_t { NI, NO }; }
namespace TX { enum : std::int32_t { TX, TXPR, TXSM, DTPR, DTSM, TXTY, TXAL }; }
}  // namespace attribute

// The journal: documents keyed 0, 1, ... by the document counter while their DAT was
// read, and the MAC records keyed by the counter after its advance (document k's MAC is
// under k + 1). Texts of the records are views into `texts`, so a journal moves but is
// not copied. A journal read as it is rendered holds only the document being read.
struct loaded_journal {
  float V = 0;
  text_store texts;
  record_list<fiscal_document> documents;
  record_list<journal::mac> macs;
  std::int32_t doc_count = 0;
  // Receipt (E.NO) and Z-report (Z.NO) number ranges; 0 means none noted. They survive
  // clear(), so over a run of the program they cover every retrieval.
  std::int32_t receipt_no_min = 0;
  std::int32_t receipt_no_max = 0;
  std::int32_t z_no_min = 0;
  std::int32_t z_no_max = 0;

  // Empties documents and MAC records; V and the ranges stay.
  void clear();

  // Drops the documents below index once they are rendered, and the MAC records before
  // the current one; their texts go with them when no document is left. The fiscal
  // number of document 0 is kept for every head.
  void release_documents_below(std::int32_t index);
  // The fiscal number of document 0, or "" when it has none.
  std::string_view first_document_fn() const;

  // Created with initial values when missing.
  fiscal_document& document(std::int32_t index) { return documents[index]; }
  journal::mac& mac(std::int32_t key) { return macs[key]; }

  void note_receipt_no(std::int32_t n);
  void note_z_no(std::int32_t n);

 private:
  std::string released_first_fn_;  // the fiscal number of document 0 once it is dropped
};

// Name to code. Transparent, so a lookup by string_view allocates nothing.
using name_table = std::map<std::string, std::int32_t, std::less<>>;

// The nineteen name tables: element codes and, per element code, attribute codes.
// Lookups never fail: a name a table lacks yields 0 and is added with code 0, so the
// tables only grow.
class name_tables {
 public:
  static constexpr int kAttributeTables = 18;

  name_tables();

  std::int32_t element_code(std::string_view name);
  // 0 (nothing added) for an element code that has no table.
  std::int32_t attribute_code(std::int32_t element_code, std::string_view name);

  const name_table& element_table() const { return elements_; }
  // The attribute table of an element code, or nullptr when it has none.
  const name_table* attribute_table(std::int32_t element_code) const;

 private:
  // The names each table starts with, looked up first without the map: nearly every
  // name of a journal is one of them.
  struct known_names {
    std::vector<std::string> names;
    std::int32_t lookup(std::string_view name) const;
  };

  name_table elements_;
  known_names known_elements_;
  std::array<known_names, kAttributeTables> known_attributes_;
  // attrs_RQ, attrs_DAT, ..., attrs_TX in the order of the element codes; P and CP, D
  // and S, I and O, L and H share one.
  std::array<name_table, kAttributeTables> attributes_;
};

// The loader's state: the code of the element being read, and the name tables.
class loader_state {
 public:
  loader_state() = default;

  void reset() { current_ = element::RQ; }

  // An M right after a Z-report's own elements is a Z-report total, looked up as Z_M.
  void set_element(std::string_view name) { set_element_code(names_.element_code(name)); }
  // The same from the code the element table gives the name.
  void set_element_code(std::int32_t code_of_name);
  std::int32_t attribute_code(std::string_view name) {
    return names_.attribute_code(current_, name);
  }
  std::int32_t current() const { return current_; }

  name_tables& names() { return names_; }
  const name_tables& names() const { return names_; }

 private:
  std::int32_t current_ = element::RQ;
  name_tables names_;
};

}  // namespace journal
