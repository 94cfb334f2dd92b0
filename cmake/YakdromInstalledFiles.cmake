# Writes the files that name the programs by absolute path (the IBus component, the settings'
# desktop entry) for one copy of the bundle. Read at configure time for the build tree, and at
# install time, where the prefix given to `cmake --install` (or CPack's) is only known then.

set(YAKDROM_LICENSE "All rights reserved")

# Quotes VALUE for a command line that IBus splits like a shell (g_shell_parse_argv).
function(yakdrom_shell_quote out value)
  if(NOT value MATCHES "^[A-Za-z0-9_./+:@%,=-]+$")
    string(REPLACE "'" "'\\''" value "${value}")
    set(value "'${value}'")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Escapes VALUE for the text of an XML element.
function(yakdrom_xml_escape out value)
  string(REPLACE "&" "&amp;" value "${value}")
  string(REPLACE "<" "&lt;" value "${value}")
  string(REPLACE ">" "&gt;" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Quotes VALUE as one argument of a desktop entry's Exec key: the entry's own quoting, then
# the escaping every string value of the file gets.
function(yakdrom_desktop_exec_quote out value)
  if(NOT value MATCHES "^[A-Za-z0-9_./+:@,=-]+$")
    string(REGEX REPLACE "([\\\"`$])" "\\\\\\1" value "${value}")
    set(value "\"${value}\"")
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "%" "%%" value "${value}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Writes DIR/yakdrom.xml from TEMPLATE for the bundle at BUNDLE.
function(yakdrom_write_ibus_component template bundle dir)
  yakdrom_shell_quote(program "${bundle}/bin/yakdrom-ibus")
  yakdrom_xml_escape(YAKDROM_IBUS_EXEC "${program} --ibus")
  yakdrom_xml_escape(YAKDROM_IBUS_ICON "${bundle}/Resources/yakdrom.svg")
  yakdrom_xml_escape(YAKDROM_IBUS_SETUP "${bundle}/bin/yakdrom-settings")
  configure_file("${template}" "${dir}/yakdrom.xml" @ONLY)
endfunction()

# Writes DIR/yakdrom.conf, the Fcitx 5 addon's file, from TEMPLATE naming LIBRARY: a path
# without ".so", absolute for a bundle of its own, or a bare name in Fcitx's own folder.
function(yakdrom_write_fcitx5_addon template library dir)
  set(YAKDROM_FCITX5_LIBRARY "${library}")
  configure_file("${template}" "${dir}/yakdrom.conf" @ONLY)
endfunction()

# Writes DIR/NAME from the desktop entry SOURCE with an Exec of the program in BUNDLE.
function(yakdrom_write_desktop_entry source bundle dir)
  get_filename_component(name "${source}" NAME)
  file(READ "${source}" entry)
  if(NOT entry MATCHES "\nExec=([^\n ]+)")
    message(FATAL_ERROR "${source} has no Exec line")
  endif()
  set(exec_line "${CMAKE_MATCH_0}")
  yakdrom_desktop_exec_quote(program "${bundle}/bin/${CMAKE_MATCH_1}")
  string(REPLACE "${exec_line}" "\nExec=${program}" entry "${entry}")
  file(WRITE "${dir}/${name}" "${entry}")
endfunction()

# Installs into SHARE (a share/ folder) the files other programs look for, naming the programs
# of the bundle at BUNDLE: the component, the Fcitx addon's file when FCITX5_LIBRARY names its
# library, the desktop entry, the icon and the manual pages; DOCUMENTS adds the copyright and
# changelog a Debian package carries.
function(yakdrom_install_shared_files)
  cmake_parse_arguments(ARG "DOCUMENTS"
    "SOURCE_DIR;BINARY_DIR;BUNDLE;SHARE;IBUS;FCITX5_LIBRARY;SETTINGS" "" ${ARGN})
  set(staging "${ARG_BINARY_DIR}/install-staging")
  file(REMOVE_RECURSE "${staging}")
  if(ARG_IBUS)
    yakdrom_write_ibus_component(
      "${ARG_SOURCE_DIR}/resources/ibus/yakdrom.xml.in" "${ARG_BUNDLE}" "${staging}")
    file(INSTALL "${staging}/yakdrom.xml" DESTINATION "${ARG_SHARE}/ibus/component")
  endif()
  if(ARG_FCITX5_LIBRARY)
    yakdrom_write_fcitx5_addon(
      "${ARG_SOURCE_DIR}/resources/fcitx5/yakdrom.conf.in" "${ARG_FCITX5_LIBRARY}" "${staging}")
    file(INSTALL "${staging}/yakdrom.conf" DESTINATION "${ARG_SHARE}/fcitx5/addon")
  endif()
  if(ARG_SETTINGS)
    yakdrom_write_desktop_entry(
      "${ARG_SOURCE_DIR}/resources/yakdrom-settings.desktop" "${ARG_BUNDLE}" "${staging}")
    file(INSTALL "${staging}/yakdrom-settings.desktop" DESTINATION "${ARG_SHARE}/applications")
  endif()
  file(INSTALL "${ARG_SOURCE_DIR}/resources/icons/yakdrom.svg"
       DESTINATION "${ARG_SHARE}/icons/hicolor/scalable/apps")
  file(GLOB pages "${ARG_BINARY_DIR}/share/man/man1/*.1.gz")
  file(INSTALL ${pages} DESTINATION "${ARG_SHARE}/man/man1")
  if(ARG_DOCUMENTS)
    file(INSTALL "${ARG_SOURCE_DIR}/packaging/debian/copyright"
                 "${ARG_BINARY_DIR}/share/doc/yakdrom/changelog.gz"
         DESTINATION "${ARG_SHARE}/doc/yakdrom")
  endif()
  file(REMOVE_RECURSE "${staging}")
  # file(INSTALL) lists what it installed here; the caller's list is the install manifest.
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()
