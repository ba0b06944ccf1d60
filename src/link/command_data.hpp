// SPDX-License-Identifier: GPL-3.0-or-later
// The data text of a command, built from its fields the way the variant writes them:
// Quendar leads with the password and ends every field with ";", Datecs joins the
// fields with "," and sends no password.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "link/variant_policy.hpp"

namespace device_link {

// One field: a text or a decimal integer.
struct DataField {
  DataField(std::string_view text) : value(text) {}  // NOLINT: fields read naturally
  DataField(const char* text) : value(text) {}  // NOLINT
  DataField(int number) : value(std::to_string(number)) {}  // NOLINT
  std::string value;
};

std::string command_data(const VariantPolicy& policy, std::string_view password,
                         std::initializer_list<DataField> fields);

// Fields written the variant's way, without a password: how a register of the variant
// writes the fields of its replies too.
std::string join_fields(const VariantPolicy& policy, std::span<const std::string> fields);

// The codes of the journal commands.
inline constexpr int kQuendarDiagnostic = 0x80;
inline constexpr int kDatecsDiagnostic = 0x5A;
inline constexpr int kReadDocument = 0xA7;
inline constexpr int kPrintDocuments = 0xEB;
inline constexpr int kFindDocumentsByDate = 0xEE;

}  // namespace device_link
