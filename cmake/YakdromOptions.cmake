# Warning and sanitizer flags shared by every target of the project.
add_library(yakdrom_options INTERFACE)
target_compile_options(yakdrom_options INTERFACE -Wall -Wextra -Wpedantic)
if(YAKDROM_WERROR)
  target_compile_options(yakdrom_options INTERFACE -Werror)
endif()
# GCC 12 reports impossible overlaps inside std::string at -O3 (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(yakdrom_options INTERFACE -Wno-restrict)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  target_compile_options(yakdrom_options INTERFACE -Wthread-safety)
endif()
if(YAKDROM_SANITIZE)
  target_compile_options(yakdrom_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(yakdrom_options INTERFACE -fsanitize=address,undefined)
endif()

# Adds a GoogleTest executable whose cases CTest runs one by one, so `ctest -j` spreads them.
# Its main (tests/support/TestMain.cpp, or QtTestMain.cpp with QT: one offscreen Qt
# application) gives the tests an empty home of their own.
# Each case is labelled with its layer (the folder under tests/), and the layer's test
# executables are collected so one target can build them all (see tests/CMakeLists.txt).
function(yakdrom_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" layer "${rel}")
  add_executable(${name} ${ARG_SOURCES})
  set(main yakdrom_test_main)
  if(ARG_QT)
    set(main yakdrom_qt_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} yakdrom_options ${main})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${layer}
               ENVIRONMENT "YAKDROM_TEST_DATA=${PROJECT_SOURCE_DIR}/resources/data")
  set_property(GLOBAL APPEND PROPERTY YAKDROM_TESTS_${layer} ${name})
endfunction()
