# Run by CPack once it has staged the packages' files (CPACK_PRE_BUILD_SCRIPTS): the bundle lies
# in /usr/lib/yakdrom, and this adds under /usr/share the files that name its programs, with the
# package's copyright and changelog; with the Fcitx addon, whose package is staged apart, it adds
# Fcitx's addon file and a link to the library in Fcitx's own folder.
include("${CPACK_YAKDROM_SOURCE_DIR}/cmake/YakdromInstalledFiles.cmake")
# CPack leaves DESTDIR naming the package staged last, which file(INSTALL) would prepend to
# the staging paths below.
unset(ENV{DESTDIR})
set(main_root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(CPACK_DEB_COMPONENT_INSTALL)
  set(main_root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/bundle")
endif()
yakdrom_install_shared_files(DOCUMENTS
  SOURCE_DIR "${CPACK_YAKDROM_SOURCE_DIR}" BINARY_DIR "${CPACK_YAKDROM_BINARY_DIR}"
  BUNDLE "${CPACK_PACKAGING_INSTALL_PREFIX}" SHARE "${main_root}/usr/share"
  IBUS ${CPACK_YAKDROM_WITH_IBUS} SETTINGS ${CPACK_YAKDROM_WITH_QT})

if(CPACK_YAKDROM_WITH_FCITX5)
  set(fcitx5_root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/fcitx5")
  # In Fcitx's own folder the bare name is enough; the addon finds the bundle through the link.
  yakdrom_write_fcitx5_addon("${CPACK_YAKDROM_SOURCE_DIR}/resources/fcitx5/yakdrom.conf.in"
    libyakdrom-fcitx5 "${fcitx5_root}/usr/share/fcitx5/addon")
  set(link_dir "${fcitx5_root}${CPACK_YAKDROM_FCITX5_ADDON_DIR}")
  file(RELATIVE_PATH target "${CPACK_YAKDROM_FCITX5_ADDON_DIR}"
    "${CPACK_PACKAGING_INSTALL_PREFIX}/lib/fcitx5/libyakdrom-fcitx5.so")
  file(MAKE_DIRECTORY "${link_dir}")
  file(CREATE_LINK "${target}" "${link_dir}/libyakdrom-fcitx5.so" SYMBOLIC)
  file(INSTALL "${CPACK_YAKDROM_SOURCE_DIR}/packaging/debian/copyright"
               "${CPACK_YAKDROM_BINARY_DIR}/share/doc/yakdrom/changelog.gz"
       DESTINATION "${fcitx5_root}/usr/share/doc/yakdrom-fcitx5")
endif()
