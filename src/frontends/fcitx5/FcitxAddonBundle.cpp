#include "frontends/fcitx5/FcitxAddonBundle.h"

#include <dlfcn.h>

#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "ime/platform/BundleResourceLocator.h"

namespace yakdrom {
namespace {

std::optional<std::filesystem::path> loadedLibraryPath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&FcitxAddonBundle::forLoadedLibrary), &info) == 0 ||
      info.dli_fname == nullptr) {
    return std::nullopt;
  }
  std::error_code error;
  auto path = std::filesystem::canonical(info.dli_fname, error);
  if (error) return std::nullopt;
  return path;
}

}  // namespace

ApplicationBundle FcitxAddonBundle::forLoadedLibrary() {
  if (const auto library = loadedLibraryPath()) return aroundLibrary(*library);
  return {std::make_shared<BundleResourceLocator>(std::filesystem::path{}),
          std::nullopt,
          {},
          std::string(kYakdromBundleIdentifier)};
}

ApplicationBundle FcitxAddonBundle::aroundLibrary(const std::filesystem::path& library) {
  const auto bundle = library.parent_path().parent_path().parent_path();
  return {std::make_shared<BundleResourceLocator>(bundle / "Resources"), bundle / "bin", bundle,
          std::string(kYakdromBundleIdentifier)};
}

}  // namespace yakdrom
