// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_container.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace journal {

namespace {

// Table index of each element code.
constexpr std::array<int, element::count> kTableOf = {
    0,      // RQ
    1,      // DAT
    2,      // MAC
    3,      // C
    4,      // Z
    5,      // TS
    6, 6,   // P, CP
    7, 7,   // D, S
    8,      // M
    9, 9,   // I, O
    10, 10, // L, H
    11,     // VD
    12,     // E
    13,     // TXS
    14,     // Z_M
    15,     // IO
    16,     // NC
    17,     // TX
};

name_table make_table(std::initializer_list<const char*> names) {
  name_table table;
  std::int32_t code = 0;
  for (const char* name : names) table.emplace(name, code++);
  return table;
}

std::int32_t lookup(name_table& table, std::string_view name) {
  if (const auto it = table.find(name); it != table.end()) return it->second;
  table.emplace(std::string(name), 0);
  return 0;
}

void widen(std::int32_t& min, std::int32_t& max, std::int32_t n) {
  if (min == 0 || min > n) {
    min = n;
    if (max == 0) max = n;
  } else if (n > max) {
    max = n;
  }
}

}  // namespace

void loaded_journal::clear() {
  documents.clear();
  macs.clear();
  texts.reset();
  released_first_fn_.clear();
  doc_count = 0;
}

void loaded_journal::release_documents_below(std::int32_t index) {
  if (index > 0) {
    if (const fiscal_document* first = documents.find(0)) released_first_fn_ = first->FN.view();
  }
  documents.drop_below(index);
  macs.drop_below(index);  // the MAC being read is filed under index
  if (documents.empty()) texts.reset();
}

std::string_view loaded_journal::first_document_fn() const {
  if (const fiscal_document* first = documents.find(0)) return first->FN;
  return released_first_fn_;
}

text_ref text_store::keep(std::string_view value) {
  if (value.empty()) return {};
  if (value.size() > UINT32_MAX) throw std::length_error("a journal value too long");
  if (blocks_.empty() || block_sizes_.back() - used_ < value.size()) {
    const std::size_t size = std::max(kBlock, value.size());
    blocks_.push_back(std::make_unique<char[]>(size));
    block_sizes_.push_back(size);
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  std::memcpy(at, value.data(), value.size());
  used_ += value.size();
  return text_ref::of_stored(std::string_view(at, value.size()));
}

void text_store::reset() {
  if (blocks_.size() > 1) {
    // The first block is kept for the next document; a large one is not.
    std::size_t keep = block_sizes_.front() == kBlock ? 1 : 0;
    blocks_.resize(keep);
    block_sizes_.resize(keep);
  }
  used_ = 0;
}

std::size_t text_store::bytes_held() const {
  std::size_t n = 0;
  for (const std::size_t size : block_sizes_) n += size;
  return n;
}

void loaded_journal::note_receipt_no(std::int32_t n) { widen(receipt_no_min, receipt_no_max, n); }

void loaded_journal::note_z_no(std::int32_t n) { widen(z_no_min, z_no_max, n); }

name_tables::name_tables()
    : elements_(make_table({"RQ", "DAT", "MAC", "C", "Z", "TS", "P", "CP", "D", "S", "M", "I",
                            "O", "L", "H", "VD", "E", "TXS", "Z_M", "IO", "NC", "TX"})),
      attributes_{
          make_table({"V"}),
          make_table({"FN", "TN", "ZN", "DI", "DT", "V"}),
          make_table({"DI", "NT"}),
          make_table({"T"}),
          make_table({"NO"}),
          make_table({"TS"}),
          make_table({"N", "C", "CD", "NM", "SM", "Q", "PRC", "TX"}),
          make_table({"TR", "TY", "ST", "NI", "TX", "PR", "SM", "N"}),
          make_table({"N", "T", "NM", "SM", "RM", "RRN"}),
          make_table({"N", "T", "NM", "SM"}),
          make_table({"N"}),
          make_table({"N", "NI"}),
          make_table({"N", "NO", "SM", "SE", "TX", "TXPR", "TXSM", "DTPR", "DTSM", "TXTY",
                      "TXAL", "CS", "VD", "TS", "FN"}),
          make_table({"TX", "TS", "TXPR", "TXI", "TXO", "DTPR", "DTI", "DTO", "TXTY", "TXAL",
                      "SMI", "SMO"}),
          make_table({"T", "NM", "SMI", "SMO"}),
          make_table({"T", "NM", "SMI", "SMO", "SMT"}),
          make_table({"NI", "NO"}),
          make_table({"TX", "TXPR", "TXSM", "DTPR", "DTSM", "TXTY", "TXAL"}),
      } {
  // The codes are the positions in the initial tables, so the names in code order.
  const auto names_of = [](const name_table& table) {
    known_names known;
    known.names.resize(table.size());
    for (const auto& [name, code] : table) known.names[static_cast<std::size_t>(code)] = name;
    return known;
  };
  known_elements_ = names_of(elements_);
  for (std::size_t i = 0; i < attributes_.size(); ++i) known_attributes_[i] = names_of(attributes_[i]);
}

std::int32_t name_tables::known_names::lookup(std::string_view name) const {
  // Names are a few letters: compared by hand, without a call per name.
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& known = names[i];
    if (known.size() != name.size()) continue;
    std::size_t k = 0;
    while (k < name.size() && known[k] == name[k]) ++k;
    if (k == name.size()) return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::int32_t name_tables::element_code(std::string_view name) {
  if (const std::int32_t code = known_elements_.lookup(name); code >= 0) return code;
  return lookup(elements_, name);
}

std::int32_t name_tables::attribute_code(std::int32_t element_code, std::string_view name) {
  if (element_code < 0 || element_code >= element::count) return 0;
  const auto table = static_cast<std::size_t>(kTableOf[static_cast<std::size_t>(element_code)]);
  if (const std::int32_t code = known_attributes_[table].lookup(name); code >= 0) return code;
  return lookup(attributes_[table], name);
}

const name_table* name_tables::attribute_table(std::int32_t element_code) const {
  if (element_code < 0 || element_code >= element::count) return nullptr;
  return &attributes_[static_cast<std::size_t>(kTableOf[static_cast<std::size_t>(element_code)])];
}

void loader_state::set_element_code(std::int32_t code_of_name) {
  const bool in_z_report = current_ == element::Z || current_ == element::TXS ||
                           current_ == element::Z_M || current_ == element::IO ||
                           current_ == element::NC;
  current_ = code_of_name == element::M && in_z_report ? element::Z_M : code_of_name;
}

}  // namespace journal
