# `cmake --install build --prefix DIR` makes DIR a bundle: the programs in bin/, Resources/
# beside them, and under share/ the files IBus and desktops look for, which name the programs
# by their absolute paths in DIR (file(INSTALL) puts them under DESTDIR when it is set). The
# build tree gets its own IBus component, so tests start the engine from build/bin.
include(${CMAKE_CURRENT_LIST_DIR}/YakdromInstalledFiles.cmake)

configure_file(resources/icons/yakdrom.svg ${YAKDROM_RESOURCES_DIR}/yakdrom.svg COPYONLY)

set(YAKDROM_IBUS_COMPONENT_DIR ${CMAKE_BINARY_DIR}/share/ibus/component)
if(YAKDROM_WITH_IBUS)
  yakdrom_write_ibus_component(${PROJECT_SOURCE_DIR}/resources/ibus/yakdrom.xml.in
    ${CMAKE_BINARY_DIR} ${YAKDROM_IBUS_COMPONENT_DIR})
endif()

set(YAKDROM_FCITX5_DATA_DIR ${CMAKE_BINARY_DIR}/share/fcitx5)
if(YAKDROM_WITH_FCITX5)
  yakdrom_write_fcitx5_addon(${PROJECT_SOURCE_DIR}/resources/fcitx5/yakdrom.conf.in
    ${CMAKE_BINARY_DIR}/lib/fcitx5/libyakdrom-fcitx5 ${YAKDROM_FCITX5_DATA_DIR}/addon)
endif()

# Manual pages go out compressed, as Debian's policy asks; -n keeps the bytes reproducible.
set(YAKDROM_COMPRESSED_DOCUMENTS)
foreach(page yakdrom.1 yakdrom-pad.1 yakdrom-settings.1 yakdrom-ibus.1)
  list(APPEND YAKDROM_COMPRESSED_DOCUMENTS man/${page} share/man/man1/${page}.gz)
endforeach()
list(APPEND YAKDROM_COMPRESSED_DOCUMENTS
  packaging/debian/changelog share/doc/yakdrom/changelog.gz)
set(compressed)
while(YAKDROM_COMPRESSED_DOCUMENTS)
  list(POP_FRONT YAKDROM_COMPRESSED_DOCUMENTS source output)
  get_filename_component(output_dir ${CMAKE_BINARY_DIR}/${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/${source}
            ${CMAKE_BINARY_DIR}/${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/${output})
endwhile()
add_custom_target(yakdrom_compressed_documents ALL DEPENDS ${compressed})

# Programs by name, so the test and benchmark programs that share build/bin stay behind.
set(installed_programs)
foreach(program yakdrom yakdrom-pad yakdrom-settings yakdrom-ibus)
  if(TARGET ${program})
    list(APPEND installed_programs ${program})
  endif()
endforeach()
install(TARGETS ${installed_programs} RUNTIME DESTINATION bin COMPONENT bundle)
# Two folders below the bundle, where the addon finds the bundle's lexicon and programs.
if(YAKDROM_WITH_FCITX5)
  install(TARGETS yakdrom-fcitx5 LIBRARY DESTINATION lib/fcitx5 COMPONENT fcitx5)
  set(fcitx5_library "\${bundle}/lib/fcitx5/libyakdrom-fcitx5")
else()
  set(fcitx5_library "")
endif()
install(DIRECTORY ${YAKDROM_RESOURCES_DIR}/ DESTINATION Resources COMPONENT bundle)
# The prefix is only known at install time; the Debian package installs these files itself
# (cmake/YakdromDebianFiles.cmake), as it keeps them apart from its bundle.
install(CODE "
  include(\"${CMAKE_CURRENT_LIST_DIR}/YakdromInstalledFiles.cmake\")
  get_filename_component(bundle \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
  yakdrom_install_shared_files(
    SOURCE_DIR \"${PROJECT_SOURCE_DIR}\" BINARY_DIR \"${CMAKE_BINARY_DIR}\"
    BUNDLE \"\${bundle}\" SHARE \"\${bundle}/share\"
    IBUS ${YAKDROM_WITH_IBUS} FCITX5_LIBRARY \"${fcitx5_library}\" SETTINGS ${YAKDROM_WITH_QT})"
  COMPONENT shared)
