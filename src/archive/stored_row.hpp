// SPDX-License-Identifier: GPL-3.0-or-later
// A document row as a store hands it over, before anything trusts it. An archive may come
// from another computer, and a central store holds what many computers sent: a row is
// input like a journal text, read by type and range, and one that this program could not
// have written is named, never taken as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/archived_document.hpp"

namespace archive {

// The highest document number a register gives: its numbers are positive 32-bit counts.
inline constexpr std::int64_t kMaxDocumentNumber = 2147483647;
// No document comes near this (one is a few kilobytes); a longer stored text is refused
// before it is parsed, so one hostile row cannot cost the parser's memory many times over.
inline constexpr std::int64_t kMaxDocumentText = 1024 * 1024;

// The storage type of a field, as SQLite's typeof names them.
enum class StoredType { Null, Integer, Real, Text, Blob };
// "null", "integer", "real", "text" or "blob".
StoredType stored_type_named(std::string_view name);

template <class Value>
struct StoredField {
  StoredType type = StoredType::Null;
  Value value{};
};

struct StoredRow {
  std::int64_t number = 0;  // the row's key: a whole number in every store
  StoredField<std::string_view> kind;
  StoredField<std::string_view> timestamp;
  StoredField<std::int64_t> z_number;
  StoredType text_type = StoredType::Null;
  std::int64_t text_size = 0;    // bytes, of a blob
  std::string_view text;         // only when text_size is within kMaxDocumentText
  StoredField<std::string_view> fetched_at;
};

// The document of a row, into `document` (whose buffers a reader of many rows reuses). One
// that holds no document this program could have stored keeps only its number, and
// `unreadable` says in a few words why.
void read_stored_row(const StoredRow& row, ArchivedDocument& document);

}  // namespace archive
