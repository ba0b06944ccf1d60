# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit Windows with Debian's MinGW-w64 (POSIX threads), statically,
# so that each program is one file to copy to a shop PC. TALQEN_WINDOWS_PREFIX lists where
# the Windows builds of libxml2, SQLite, libxlsxwriter, OpenSSL, libpq and Qt were installed
# (scripts/build-windows-*).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TALQEN_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++, libgcc and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The tests run under Wine, from ctest as well, in a Wine prefix of the build's own,
# through a runner that starts a program again when Wine lost it before it began.
find_program(TALQEN_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(TALQEN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
      ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run ${TALQEN_WINE})
endif()
