#include "ime/startup/ApplicationBundle.h"

#include <system_error>

#include "ime/platform/BundleResourceLocator.h"

namespace yakdrom {

ApplicationBundle::ApplicationBundle(std::shared_ptr<const ResourceLocator> resources,
                                     std::optional<std::filesystem::path> executableDirectory,
                                     std::filesystem::path path,
                                     std::optional<std::string> identifier)
    : resources_(std::move(resources)),
      executableDirectory_(std::move(executableDirectory)),
      path_(std::move(path)),
      identifier_(std::move(identifier)) {}

ApplicationBundle ApplicationBundle::forRunningExecutable() {
  const std::optional<std::string> identifier{std::string(kYakdromBundleIdentifier)};
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || executable.empty()) {
    return {std::make_shared<BundleResourceLocator>(std::filesystem::path{}),
            std::nullopt,
            {},
            identifier};
  }
  const auto directory = executable.parent_path();
  return {std::make_shared<BundleResourceLocator>(directory / ".." / "Resources"), directory,
          directory.parent_path(), identifier};
}

std::optional<std::filesystem::path> ApplicationBundle::resource(ResourceName resource) const {
  if (!resources_) return std::nullopt;
  return resources_->find(resource.name, resource.extension);
}

std::optional<std::filesystem::path> ApplicationBundle::besideExecutable(
    ResourceName resource) const {
  if (!executableDirectory_) return std::nullopt;
  const std::filesystem::path file(executableDirectory_->string() + "/../Resources/" +
                                   std::string(resource.name) + "." +
                                   std::string(resource.extension));
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  return file;
}

}  // namespace yakdrom
