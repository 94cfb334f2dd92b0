// Where the tests find our IBus component: the build tree's, or an installed one when the run
// names its folder in YAKDROM_IBUS_COMPONENT_DIR (CI tests the Debian package that way). The
// including target defines YAKDROM_IBUS_COMPONENT_DIR as the build tree's folder.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace yakdrom::testing {

inline std::filesystem::path yakdromComponentFolder() {
  const char* installed = std::getenv("YAKDROM_IBUS_COMPONENT_DIR");
  return installed != nullptr ? std::filesystem::path(installed)
                              : std::filesystem::path(YAKDROM_IBUS_COMPONENT_DIR);
}

}  // namespace yakdrom::testing
