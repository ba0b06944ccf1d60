# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages: a setup program (NSIS) that installs the programs, the README and
# the notices (the project's license, the libraries' licenses) under Program Files\Talqen
# with a Start-menu shortcut, an uninstaller and an entry in Add/Remove Programs, its pages
# in Russian or Ukrainian, and a zip of the same for those who copy files.
install(TARGETS talqen-cli RUNTIME DESTINATION .)
if(TARGET talqen)
  install(TARGETS talqen RUNTIME DESTINATION .)
endif()
install(FILES README.md DESTINATION . RENAME README.txt)
include(${CMAKE_CURRENT_LIST_DIR}/third_party_notices.cmake)

set(CPACK_GENERATOR NSIS ZIP)
# The setup program's script is ours (NSIS.template.in beside this file): its pages in
# Russian and Ukrainian, chosen by Windows' display language as the program chooses its own.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PACKAGE_NAME talqen)
set(CPACK_PACKAGE_VENDOR "Talqen")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads a fiscal register's electronic control tape")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Talqen")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Talqen")
set(CPACK_STRIP_FILES ON)
# The two packages' names differ by more than their extension.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package_file_names.cmake)

# A 64-bit setup program for 64-bit programs, which Wine without its 32-bit half runs too.
# The setup program's own version resource says what the programs' say.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
VIProductVersion ${PROJECT_VERSION}.0
VIFileVersion ${PROJECT_VERSION}.0
VIAddVersionKey /LANG=1033 ProductName Talqen
VIAddVersionKey /LANG=1033 ProductVersion ${PROJECT_VERSION}
VIAddVersionKey /LANG=1033 FileVersion ${PROJECT_VERSION}
VIAddVersionKey /LANG=1033 FileDescription 'Talqen ${PROJECT_VERSION} setup'
VIAddVersionKey /LANG=1033 CompanyName 'Talqen maintainers'
VIAddVersionKey /LANG=1033 LegalCopyright '${TALQEN_COPYRIGHT}'
VIAddVersionKey /LANG=1033 Comments '${TALQEN_LICENSE_WORDS}'")
# The project's license on a page of its own before anything is installed, with the line
# ends Windows' text controls show as lines.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license_text)
string(REPLACE "\n" "\r\n" license_text "${license_text}")
file(WRITE ${CMAKE_BINARY_DIR}/LICENSE.txt "${license_text}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt)
set(CPACK_NSIS_PACKAGE_NAME "Talqen")
set(CPACK_NSIS_DISPLAY_NAME "Talqen")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME "talqen.exe")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The program keeps fpinit.ini and temp.xml in its current folder, and Program Files is
# not writable for a user: the shortcut starts it in the user's own folder, which the
# setup program makes for the user who installs. The working folder is written with the
# variable, so that each user who starts it gets their own. (Backslashes are doubled
# twice: CPack writes these texts into a file it reads again.)
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  ReadEnvStr $0 LOCALAPPDATA
  CreateDirectory '$0\\\\Talqen'
  StrCpy $OUTDIR '%LOCALAPPDATA%\\\\Talqen'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Talqen.lnk' '$INSTDIR\\\\talqen.exe'
  SetOutPath '$INSTDIR'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Talqen.lnk'")
# The user's folder goes when nothing of theirs is in it (settings and journals stay).
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  ReadEnvStr $0 LOCALAPPDATA
  RMDir '$0\\\\Talqen'")
include(CPack)
