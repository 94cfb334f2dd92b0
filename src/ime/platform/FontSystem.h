// The platform's fonts as the settings resolve them: lookup by name, registering a font file
// for this process, and the user-interface font. Main thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ime/platform/Font.h"

namespace yakdrom {

struct FontRegistration {
  bool succeeded = false;
  /// The platform's description of the failure; empty when it gave none.
  std::string error;
};

class FontSystem {
 public:
  virtual ~FontSystem() = default;

  /// Returns the font named `name` (a family or a face) at `pointSize`, or nothing when the
  /// platform does not know that name.
  [[nodiscard]] virtual std::optional<Font> font(std::string_view name, double pointSize) const = 0;

  /// Makes the fonts in `file` available to this process only.
  [[nodiscard]] virtual FontRegistration registerFontFile(const std::filesystem::path& file) = 0;

  /// Returns the user-interface font at `pointSize`.
  [[nodiscard]] virtual Font systemFont(double pointSize) const = 0;
};

}  // namespace yakdrom
