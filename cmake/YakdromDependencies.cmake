# Finds the libraries that the build and its enabled options need. A missing one adds a line
# to YAKDROM_MISSING_DEPENDENCIES naming the Debian package that provides it and the option
# that drops the need; the top-level file reports them all and stops.
set(YAKDROM_MISSING_DEPENDENCIES "")

function(yakdrom_require found option what packages)
  if(${found})
    return()
  endif()
  set(line "${option} needs ${what}: apt-get install ${packages}")
  if(option MATCHES "^YAKDROM_")
    string(APPEND line ", or configure with -D${option}=OFF")
  endif()
  list(APPEND YAKDROM_MISSING_DEPENDENCIES "${line}")
  set(YAKDROM_MISSING_DEPENDENCIES "${YAKDROM_MISSING_DEPENDENCIES}" PARENT_SCOPE)
endfunction()

find_package(Threads REQUIRED)
find_package(ICU 72 QUIET COMPONENTS uc i18n)
yakdrom_require(ICU_FOUND Yakdrom "ICU 72 or later" libicu-dev)

if(YAKDROM_WITH_QT)
  find_package(Qt6 6.2 QUIET COMPONENTS Core Widgets DBus Network Svg Test)
  yakdrom_require(Qt6_FOUND YAKDROM_WITH_QT "Qt 6 Core, Widgets, D-Bus, Network, SVG and Test" "qt6-base-dev qt6-svg-dev")
endif()

if(YAKDROM_WITH_IBUS)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(IBUS QUIET IMPORTED_TARGET ibus-1.0)
  endif()
  yakdrom_require(IBUS_FOUND YAKDROM_WITH_IBUS "IBus 1.0 (pkg-config module ibus-1.0)"
    "libibus-1.0-dev pkg-config")
endif()

if(YAKDROM_WITH_FCITX5)
  find_package(Fcitx5Core QUIET)
  yakdrom_require(Fcitx5Core_FOUND YAKDROM_WITH_FCITX5 "Fcitx 5 (Fcitx5Core)" libfcitx5core-dev)
endif()

if(YAKDROM_BUILD_TESTS)
  find_package(GTest QUIET)
  yakdrom_require(GTest_FOUND YAKDROM_BUILD_TESTS GoogleTest libgtest-dev)
endif()

if(YAKDROM_BUILD_BENCH)
  find_package(benchmark QUIET)
  yakdrom_require(benchmark_FOUND YAKDROM_BUILD_BENCH "Google Benchmark" libbenchmark-dev)
endif()
