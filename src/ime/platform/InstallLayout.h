// Where scripts/install.sh puts Yakdrom: per user under the home, or system-wide under a root
// ("/" but in tests). The folders listed are the only ones an uninstall may remove from.
// Any thread.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>
#include <vector>

namespace yakdrom {

/// The Debian packages, dependants first, so that one `dpkg --remove` takes them all (dpkg
/// passes over one that is not installed).
inline constexpr std::array<std::string_view, 2> kDebianPackages = {"yakdrom-fcitx5", "yakdrom"};

struct InstallLayout {
  std::filesystem::path bundle;
  /// The folders the install writes into: the bundle, the shared data, the IBus component
  /// folder and, per user, the environment.d folder.
  std::vector<std::filesystem::path> roots;

  /// Returns the per-user layout under `home`.
  [[nodiscard]] static InstallLayout perUser(const std::filesystem::path& home);

  /// Returns the system-wide layout under `root`.
  [[nodiscard]] static InstallLayout systemWide(const std::filesystem::path& root);

  /// Returns <bundle>/install-manifest.txt.
  [[nodiscard]] std::filesystem::path manifest() const;

  /// Returns the user's IBus registry cache under `cacheHome`. An install or uninstall
  /// rewrites it only when it exists: a home that never ran IBus gets none.
  [[nodiscard]] static std::filesystem::path ibusUserRegistry(
      const std::filesystem::path& cacheHome);
};

}  // namespace yakdrom
