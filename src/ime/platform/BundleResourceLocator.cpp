#include "ime/platform/BundleResourceLocator.h"

#include <string>
#include <system_error>

namespace yakdrom {

BundleResourceLocator::BundleResourceLocator(std::filesystem::path resourcesDirectory)
    : directory_(std::move(resourcesDirectory)) {}

BundleResourceLocator BundleResourceLocator::forRunningExecutable() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || executable.empty()) return BundleResourceLocator({});
  return BundleResourceLocator(executable.parent_path() / ".." / "Resources");
}

std::optional<std::filesystem::path> BundleResourceLocator::find(std::string_view name,
                                                                 std::string_view extension) const {
  if (directory_.empty()) return std::nullopt;
  auto path = directory_ / (std::string(name) + "." + std::string(extension));
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return path;
}

}  // namespace yakdrom
