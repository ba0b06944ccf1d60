# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack for each generator: talqen-VERSION-setup.exe and talqen-VERSION-windows.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "talqen-${CPACK_PACKAGE_VERSION}-setup")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "talqen-${CPACK_PACKAGE_VERSION}-windows")
endif()
