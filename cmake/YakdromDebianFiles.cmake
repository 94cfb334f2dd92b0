# Run by CPack while it stages the Debian package (CPACK_INSTALL_SCRIPTS): the bundle goes to
# /usr/lib/yakdrom, and this adds under /usr/share the files that name its programs, with the
# package's copyright and changelog.
include("${CPACK_YAKDROM_SOURCE_DIR}/cmake/YakdromInstalledFiles.cmake")
# The DEB generator stages through DESTDIR, which file(INSTALL) prepends to these paths.
yakdrom_install_shared_files(DOCUMENTS
  SOURCE_DIR "${CPACK_YAKDROM_SOURCE_DIR}" BINARY_DIR "${CPACK_YAKDROM_BINARY_DIR}"
  BUNDLE "${CPACK_PACKAGING_INSTALL_PREFIX}" SHARE /usr/share
  IBUS ${CPACK_YAKDROM_WITH_IBUS} SETTINGS ${CPACK_YAKDROM_WITH_QT})
