# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package: the three programs with their manual pages, the
# desktop entry and its icon, and the package's documents as Debian expects them (the
# machine-readable copyright, the changelog).
include(GNUInstallDirs)
install(TARGETS talqen-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(manual_programs talqen-cli)
if(TARGET talqen-sim)
  install(TARGETS talqen-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND manual_programs talqen-sim)
endif()
if(TARGET talqen)
  install(TARGETS talqen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/talqen.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/talqen.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  list(APPEND manual_programs talqen)
endif()

# Each manual page is made from the program's own --help, so the two never differ.
set(talqen_name "read a fiscal register's electronic control tape (desktop program)")
set(talqen-cli_name "read a fiscal register's electronic control tape from a terminal")
set(talqen-sim_name "a simulated fiscal register on a pseudo-terminal or serial device")
find_program(TALQEN_HELP2MAN help2man)
find_program(TALQEN_GZIP gzip)
set(debian_dir ${CMAKE_BINARY_DIR}/debian)
if(TALQEN_HELP2MAN AND TALQEN_GZIP)
  set(manual_pages)
  foreach(program ${manual_programs})
    set(page ${debian_dir}/${program}.1.gz)
    add_custom_command(
      OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${debian_dir}
      COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
              ${TALQEN_HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
              "--name=${${program}_name}" --output=${debian_dir}/${program}.1 $<TARGET_FILE:${program}>
      COMMAND ${TALQEN_GZIP} -9nf ${debian_dir}/${program}.1
      DEPENDS ${program}
      VERBATIM)
    list(APPEND manual_pages ${page})
  endforeach()
  add_custom_target(manual_pages ALL DEPENDS ${manual_pages})
  install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man or gzip not found: no manual pages")
endif()

# The machine-readable copyright format's Format line, as the machine's own dpkg (on every
# Debian system) states it in its copyright file, so the format's address is not ours to keep.
set(TALQEN_DEP5_FORMAT_SOURCE /usr/share/doc/dpkg/copyright)
if(EXISTS ${TALQEN_DEP5_FORMAT_SOURCE})
  file(STRINGS ${TALQEN_DEP5_FORMAT_SOURCE} TALQEN_DEP5_FORMAT_LINE REGEX "^Format: " LIMIT_COUNT 1)
endif()
if(NOT TALQEN_DEP5_FORMAT_LINE)
  message(STATUS "${TALQEN_DEP5_FORMAT_SOURCE} names no Format: the package's copyright file has none")
endif()
configure_file(packaging/debian/copyright.in ${debian_dir}/copyright @ONLY)
configure_file(packaging/debian/changelog.in ${debian_dir}/changelog @ONLY)
if(TALQEN_GZIP)
  add_custom_command(
    OUTPUT ${debian_dir}/changelog.gz
    COMMAND ${TALQEN_GZIP} -9nc ${debian_dir}/changelog > ${debian_dir}/changelog.gz
    DEPENDS ${debian_dir}/changelog)
  add_custom_target(debian_changelog ALL DEPENDS ${debian_dir}/changelog.gz)
  install(FILES ${debian_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES ${debian_dir}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talqen)
set(CPACK_PACKAGE_VENDOR "Talqen")
set(CPACK_PACKAGE_CONTACT "${TALQEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads a fiscal register's electronic control tape")
set(CPACK_PACKAGE_DESCRIPTION
    "Talqen reads receipts and Z-reports from the electronic control tape of a\nfiscal register over a serial line, shows them as the register printed them,\nsaves them and has the register print them again. Desktop program,\ncommand-line tool and a simulated register.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_STRIP_FILES ON)
include(CPack)
