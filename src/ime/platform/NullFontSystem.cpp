#include "ime/platform/NullFontSystem.h"

namespace yakdrom {

std::optional<Font> NullFontSystem::font(std::string_view /*name*/, double /*pointSize*/) const {
  return std::nullopt;
}

FontRegistration NullFontSystem::registerFontFile(const std::filesystem::path& /*file*/) {
  return {false, "no display"};
}

Font NullFontSystem::systemFont(double pointSize) const { return Font::system(pointSize); }

}  // namespace yakdrom
