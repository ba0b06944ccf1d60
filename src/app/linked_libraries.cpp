// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/linked_libraries.hpp"

#include "archive/sqlite_database.hpp"
#include "archive/xlsx_export.hpp"
#include "journal/xml_dom.hpp"

namespace app {

std::vector<LinkedLibrary> linked_libraries() {
  return {
      {"libxml2", journal::dom::libxml2_version(), "MIT"},
      {"SQLite", archive::sqlite_version(), "blessing"},
      {"libxlsxwriter", archive::xlsxwriter_version(), "BSD-2-Clause"},
      {"zlib", archive::zlib_library_version(), "Zlib"},
  };
}

}  // namespace app
