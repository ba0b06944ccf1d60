// SPDX-License-Identifier: GPL-3.0-or-later
// The libraries built into the programs, with the versions they were built with and their
// licenses, as the About box names them beside the project's own license.
#pragma once

#include <string>
#include <vector>

namespace app {

// GPL-3.0-or-later: the license of Talqen itself.
inline constexpr const char* kProgramLicense = "GPL-3.0-or-later";

struct LinkedLibrary {
  std::string name;
  std::string version;
  std::string license;  // SPDX
};

// Those below the windows: libxml2, SQLite, libxlsxwriter and the zlib it writes through.
std::vector<LinkedLibrary> linked_libraries();

}  // namespace app
