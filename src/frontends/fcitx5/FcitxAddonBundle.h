// The bundle the addon belongs to. The process is the Fcitx daemon, not one of our programs,
// so the bundle is found from the addon library itself: `<bundle>/lib/fcitx5/` holds it, in the
// build tree as in an install. Any thread.
#pragma once

#include <filesystem>

#include "ime/startup/ApplicationBundle.h"

namespace yakdrom {

class FcitxAddonBundle {
 public:
  /// Returns the bundle two folders above the file of the loaded addon library, its links
  /// resolved (a system-wide package links the library into Fcitx's own folder); a bundle
  /// that finds nothing when the library's path cannot be read.
  [[nodiscard]] static ApplicationBundle forLoadedLibrary();

  /// Returns the bundle two folders above `library`, with `<bundle>/Resources` and
  /// `<bundle>/bin`.
  [[nodiscard]] static ApplicationBundle aroundLibrary(const std::filesystem::path& library);
};

}  // namespace yakdrom
