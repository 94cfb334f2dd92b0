// A font as the settings choose it and the windows draw with it: a family or face name and
// a point size. Value type; any thread.
#pragma once

#include <string>

namespace yakdrom {

struct Font {
  /// The family or face name; empty stands for the desktop's user-interface font.
  std::string name;
  double pointSize = 0;

  /// Returns the desktop's user-interface font at `pointSize`.
  [[nodiscard]] static Font system(double pointSize) { return {{}, pointSize}; }

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace yakdrom
