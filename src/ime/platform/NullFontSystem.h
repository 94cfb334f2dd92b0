// The font system of programs without a display (the command line): it knows no fonts, so
// every font setting resolves to the user-interface font. Any thread.
#pragma once

#include "ime/platform/FontSystem.h"

namespace yakdrom {

class NullFontSystem final : public FontSystem {
 public:
  /// Returns nothing: no font is installed here.
  [[nodiscard]] std::optional<Font> font(std::string_view name, double pointSize) const override;
  /// Fails with a description, since there is nothing to register fonts with.
  [[nodiscard]] FontRegistration registerFontFile(const std::filesystem::path& file) override;
  /// Returns Font::system(pointSize).
  [[nodiscard]] Font systemFont(double pointSize) const override;
};

}  // namespace yakdrom
