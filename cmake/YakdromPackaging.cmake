# `cpack -G DEB` in the build tree makes yakdrom_VERSION_ARCH.deb: the bundle in
# /usr/lib/yakdrom, and the IBus component, desktop entry, icon, manual pages and documents
# under /usr/share, where IBus, desktops and Debian's tools look for them.
set(CPACK_PACKAGE_NAME yakdrom)
set(CPACK_PACKAGE_VENDOR "Yakdrom developers")
set(CPACK_PACKAGE_CONTACT "Yakdrom developers <yakdrom@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tibetan input method for IBus")
# Lines of a package description stay under 80 columns; "." is an empty line.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Keys typed on a fixed layout become well-formed Tibetan syllables, shown"
  "as underlined provisional text until a separator, a space or a letter"
  "that cannot join commits them, with candidates from a shipped lexicon"
  "and the words the user types."
  "."
  "The package holds the IBus engine, a typing pad, the settings window and"
  "a command-line tool.")
# The project's install gives the bundle; the files under /usr/share, which name the bundle's
# programs by path, come from a script that CPack runs with these settings.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr/lib/yakdrom)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Yakdrom;bundle;/")
set(CPACK_INSTALL_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/YakdromDebianFiles.cmake)
set(CPACK_YAKDROM_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_YAKDROM_BINARY_DIR ${CMAKE_BINARY_DIR})
set(CPACK_YAKDROM_WITH_IBUS ${YAKDROM_WITH_IBUS})
set(CPACK_YAKDROM_WITH_QT ${YAKDROM_WITH_QT})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ibus)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
  ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
