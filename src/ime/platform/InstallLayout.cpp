#include "ime/platform/InstallLayout.h"

#include "ime/platform/InstallManifest.h"

namespace yakdrom {

namespace fs = std::filesystem;

InstallLayout InstallLayout::perUser(const fs::path& home) {
  const fs::path share = home / ".local/share";
  fs::path bundle = home / ".local/lib/yakdrom";
  return {bundle, {bundle, share, share / "ibus/component", home / ".config/environment.d"}};
}

InstallLayout InstallLayout::systemWide(const fs::path& root) {
  fs::path bundle = root / "usr/local/lib/yakdrom";
  return {bundle, {bundle, root / "usr/local/share", root / "usr/share/ibus/component"}};
}

fs::path InstallLayout::manifest() const { return bundle / InstallManifest::kFileName; }

std::filesystem::path InstallLayout::ibusUserRegistry(const std::filesystem::path& cacheHome) {
  return cacheHome / "ibus" / "bus" / "registry";
}

}  // namespace yakdrom
