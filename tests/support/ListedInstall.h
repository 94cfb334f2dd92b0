// An install laid out as scripts/install.sh leaves it, for the uninstall tests: programs in
// the bundle, one shared file outside it, the folders it made, and the manifest that lists
// all of them and itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/learning/TemporaryFolder.h"
#include "ime/platform/InstallLayout.h"
#include "ime/platform/InstallManifest.h"

namespace yakdrom::testing {

/// Writes the bundle's bin/yakdrom-ibus, `shared` and the manifest of `layout`; `programs`
/// are further files of bin/, linked to the given targets.
inline void layOutInstall(
    const InstallLayout& layout, const std::filesystem::path& shared,
    const std::vector<std::pair<std::string, std::filesystem::path>>& programs = {}) {
  namespace fs = std::filesystem;
  fs::create_directories(layout.bundle / "bin");
  fs::create_directories(shared.parent_path());
  writeBytes(layout.bundle / "bin/yakdrom-ibus", "program");
  writeBytes(shared, "component");
  std::vector<fs::path> files = {layout.bundle / "bin/yakdrom-ibus", shared, layout.manifest()};
  for (const auto& [name, target] : programs) {
    fs::create_symlink(target, layout.bundle / "bin" / name);
    files.push_back(layout.bundle / "bin" / name);
  }
  std::string manifest;
  for (const fs::path& path : files) manifest += InstallManifest::escape(path.string()) + "\n";
  for (const std::string& folder :
       {(layout.bundle / "bin/").string(), layout.bundle.string() + "/"}) {
    manifest += InstallManifest::escape(folder) + "\n";
  }
  writeBytes(layout.manifest(), manifest);
}

}  // namespace yakdrom::testing
