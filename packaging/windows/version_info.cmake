# SPDX-License-Identifier: GPL-3.0-or-later
# The version resource of each Windows program: product, version, copyright and license,
# as Windows' file properties show them. The setup program carries the same words.
enable_language(RC)
set(TALQEN_COPYRIGHT "Copyright (C) 2026 Talqen maintainers")
set(TALQEN_LICENSE_WORDS "Free software under the GNU General Public License, version 3 or later (GPL-3.0-or-later)")

function(talqen_version_info target description)
  set(TALQEN_PROGRAM ${target})
  set(TALQEN_PROGRAM_DESCRIPTION "${description}")
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in ${CMAKE_BINARY_DIR}/${target}-version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/${target}-version.rc)
endfunction()
