// Resources of the bundle folder that the programs live in: `<bundle>/bin/` holds the
// programs and `<bundle>/Resources/` their files, in the build tree as in an install.
// Any thread.
#pragma once

#include "ime/platform/ResourceLocator.h"

namespace yakdrom {

class BundleResourceLocator final : public ResourceLocator {
 public:
  /// Looks in `resourcesDirectory`.
  explicit BundleResourceLocator(std::filesystem::path resourcesDirectory);

  /// Looks in "../Resources" beside the running executable; finds nothing when the
  /// executable's path cannot be read.
  [[nodiscard]] static BundleResourceLocator forRunningExecutable();

  /// Returns the directory + "/name.extension" when that is a regular file.
  [[nodiscard]] std::optional<std::filesystem::path> find(
      std::string_view name, std::string_view extension) const override;

  /// Returns the directory looked in; empty when there is none.
  [[nodiscard]] const std::filesystem::path& directory() const { return directory_; }

 private:
  std::filesystem::path directory_;
};

}  // namespace yakdrom
