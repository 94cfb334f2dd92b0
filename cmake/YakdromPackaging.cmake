# `cpack -G DEB` in the build tree makes yakdrom_VERSION_ARCH.deb: the bundle in
# /usr/lib/yakdrom, and the IBus component, desktop entry, icon, manual pages and documents
# under /usr/share, where IBus, desktops and Debian's tools look for them.
set(CPACK_PACKAGE_NAME yakdrom)
set(CPACK_PACKAGE_VENDOR "Yakdrom developers")
set(CPACK_PACKAGE_CONTACT "Yakdrom developers <yakdrom@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tibetan input method for IBus and Fcitx 5")
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
# programs by path, come from a script that CPack runs with these settings once the bundle is
# staged.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr/lib/yakdrom)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Yakdrom;bundle;/")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/YakdromDebianFiles.cmake)
set(CPACK_YAKDROM_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_YAKDROM_BINARY_DIR ${CMAKE_BINARY_DIR})
set(CPACK_YAKDROM_WITH_IBUS ${YAKDROM_WITH_IBUS})
set(CPACK_YAKDROM_WITH_QT ${YAKDROM_WITH_QT})
set(CPACK_YAKDROM_WITH_FCITX5 ${YAKDROM_WITH_FCITX5})
# Fcitx loads addons from its folder under the multiarch library folder.
set(CPACK_YAKDROM_FCITX5_ADDON_DIR /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/fcitx5)
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

# The Fcitx addon is a package of its own, yakdrom-fcitx5 (the library in the bundle, linked
# into Fcitx's folder, and Fcitx's addon file), so that the IBus package needs no Fcitx.
if(YAKDROM_WITH_FCITX5)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL bundle fcitx5)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Yakdrom;ALL;/")
  set(CPACK_DEBIAN_BUNDLE_PACKAGE_NAME yakdrom)
  set(CPACK_DEBIAN_FCITX5_PACKAGE_NAME yakdrom-fcitx5)
  set(CPACK_DEBIAN_FCITX5_PACKAGE_DEPENDS "yakdrom (= ${PROJECT_VERSION}), fcitx5")
  # Each package's text follows the one synopsis, CPACK_PACKAGE_DESCRIPTION_SUMMARY.
  set(CPACK_DEBIAN_BUNDLE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
  string(JOIN "\n" CPACK_DEBIAN_FCITX5_DESCRIPTION
    "The Yakdrom input method as an addon of Fcitx 5, listed there as"
    "Tibetan (Yakdrom). It uses the lexicon, settings and learnt words of the"
    "yakdrom package; its settings window is that package's.")
  set(CPACK_DEBIAN_BUNDLE_PACKAGE_CONTROL_EXTRA ${CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA})
  unset(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA)
endif()

include(CPack)
