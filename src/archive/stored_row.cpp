// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/stored_row.hpp"

#include <algorithm>

namespace archive {

namespace {

const char* type_name(StoredType type) {
  switch (type) {
    case StoredType::Null: return "null";
    case StoredType::Integer: return "a number";
    case StoredType::Real: return "a fraction";
    case StoredType::Text: return "text";
    case StoredType::Blob: return "bytes";
  }
  return "?";
}

bool digits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "YYYY-MM-DDThh:mm:ssZ", as the archive writes the moment a document came.
bool moment_of_ours(std::string_view s) {
  if (s.size() != 20) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char expected = "0000-00-00T00:00:00Z"[i];
    if (expected == '0' ? (s[i] < '0' || s[i] > '9') : s[i] != expected) return false;
  }
  return true;
}

// A stored text quoted in a message: short, and printable whatever it holds.
std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (const char c : s.substr(0, 24)) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  return out + (s.size() > 24 ? "...\"" : "\"");
}

std::string why_unreadable(const StoredRow& row) {
  if (row.number < 1 || row.number > kMaxDocumentNumber)
    return "its number " + std::to_string(row.number) + " is no document number a register gives";
  if (row.kind.type != StoredType::Text || (row.kind.value != "receipt" && row.kind.value != "z-report"))
    return row.kind.type == StoredType::Text ? "its kind " + quoted(row.kind.value) + " is neither receipt nor z-report"
                                             : std::string("its kind is ") + type_name(row.kind.type) + ", not text";
  if (row.timestamp.type != StoredType::Text ||
      !(row.timestamp.value.empty() || (row.timestamp.value.size() == 14 && digits(row.timestamp.value))))
    return row.timestamp.type == StoredType::Text
               ? "its date and time " + quoted(row.timestamp.value) + " are not YYYYMMDDhhmmss"
               : std::string("its date and time are ") + type_name(row.timestamp.type) + ", not text";
  if (row.z_number.type != StoredType::Null &&
      (row.z_number.type != StoredType::Integer || row.z_number.value < 0 || row.z_number.value > kMaxDocumentNumber))
    return row.z_number.type == StoredType::Integer
               ? "its Z-report number " + std::to_string(row.z_number.value) + " is out of range"
               : std::string("its Z-report number is ") + type_name(row.z_number.type) + ", not a whole number";
  if (row.fetched_at.type != StoredType::Text || !moment_of_ours(row.fetched_at.value))
    return "the moment it was fetched is not of the form YYYY-MM-DDThh:mm:ssZ";
  if (row.text_type == StoredType::Null || (row.text_type == StoredType::Blob && row.text_size == 0))
    return "it has no text";
  if (row.text_type != StoredType::Blob)
    return std::string("its text is stored as ") + type_name(row.text_type) + ", not as the register's bytes";
  if (row.text_size > kMaxDocumentText)
    return "its text of " + std::to_string(row.text_size) + " bytes is longer than any document (at most " +
           std::to_string(kMaxDocumentText) + ")";
  return {};
}

}  // namespace

StoredType stored_type_named(std::string_view name) {
  if (name == "integer") return StoredType::Integer;
  if (name == "real") return StoredType::Real;
  if (name == "text") return StoredType::Text;
  if (name == "blob") return StoredType::Blob;
  return StoredType::Null;
}

void read_stored_row(const StoredRow& row, ArchivedDocument& document) {
  document.number = row.number;
  document.unreadable = why_unreadable(row);
  const bool readable = document.unreadable.empty();
  document.is_z_report = readable && row.kind.value == "z-report";
  document.timestamp.assign(readable ? row.timestamp.value : std::string_view{});
  document.z_number.reset();
  if (readable && row.z_number.type == StoredType::Integer)
    document.z_number = static_cast<std::int32_t>(row.z_number.value);
  document.text.assign(readable ? row.text : std::string_view{});
  document.fetched_at.assign(readable ? row.fetched_at.value : std::string_view{});
}

}  // namespace archive
