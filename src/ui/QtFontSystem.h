// The desktop's fonts through Qt's font database: families by name, the faces of the font
// files this process registered, and the user-interface font. Main thread.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "ime/platform/FontSystem.h"

namespace yakdrom {

class QtFontSystem final : public FontSystem {
 public:
  /// Returns the font when `name` is a family Qt lists (exactly as Qt spells it) or the full
  /// or PostScript name of a face registered here; the font carries the family name.
  [[nodiscard]] std::optional<Font> font(std::string_view name, double pointSize) const override;
  /// Adds the fonts in `file` to this application and learns their face names; a file
  /// registered before succeeds again without being added twice.
  [[nodiscard]] FontRegistration registerFontFile(const std::filesystem::path& file) override;
  /// Returns Font::system(pointSize).
  [[nodiscard]] Font systemFont(double pointSize) const override;

 private:
  // Face names (full and PostScript) of registered files, each with its family.
  std::map<std::string, std::string, std::less<>> faces_;
  std::set<std::filesystem::path> registered_;
};

}  // namespace yakdrom
