// SPDX-License-Identifier: GPL-3.0-or-later
// The words a person reads in the workbook where csv and json carry our identifiers: the
// columns' headers and the values that are codes (a document's kind, a row's type). One
// table, used by the workbook only: programs read the identifiers, which stay as they are.
#pragma once

#include <string_view>

namespace archive {

// The Ukrainian header of a column, UTF-8; the identifier itself when the table has none.
std::string_view workbook_header(std::string_view column);
// The Ukrainian words of a code, UTF-8; the code itself when the table has none.
std::string_view workbook_value(std::string_view code);

}  // namespace archive
