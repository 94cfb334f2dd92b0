// The bundle folder the programs run from: its location, its identifier, its resources and
// the "../Resources" folder beside the running executable, through which the program finds
// the files it carries (lexicon, candidate font). Value type; any thread.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ime/platform/ResourceLocator.h"

namespace yakdrom {

/// The identifier of the input-method program, which the server is created with and which a
/// client of the program's own windows reports.
inline constexpr std::string_view kYakdromBundleIdentifier = "org.freedesktop.IBus.Yakdrom";

/// A file the bundle carries, as name and extension ("lex", "dat").
struct ResourceName {
  std::string_view name;
  std::string_view extension;
};

class ApplicationBundle {
 public:
  /// Describes a bundle at `path` whose resources `resources` finds; `executableDirectory`
  /// is the folder of the running program when it is known.
  ApplicationBundle(std::shared_ptr<const ResourceLocator> resources,
                    std::optional<std::filesystem::path> executableDirectory,
                    std::filesystem::path path, std::optional<std::string> identifier);

  /// Returns the bundle of the running executable (`<bundle>/bin/program`), whose resources
  /// lie in `<bundle>/Resources`; without a readable executable path it finds nothing.
  [[nodiscard]] static ApplicationBundle forRunningExecutable();

  /// Returns the path of the bundle resource `resource` when it exists.
  [[nodiscard]] std::optional<std::filesystem::path> resource(ResourceName resource) const;

  /// Returns the executable's directory + "/../Resources/" + the resource's file name when
  /// that is a regular file.
  [[nodiscard]] std::optional<std::filesystem::path> besideExecutable(ResourceName resource) const;

  /// Returns the bundle folder; empty when it is not known.
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

  /// Returns the bundle's identifier, when it has one.
  [[nodiscard]] const std::optional<std::string>& identifier() const { return identifier_; }

 private:
  std::shared_ptr<const ResourceLocator> resources_;
  std::optional<std::filesystem::path> executableDirectory_;
  std::filesystem::path path_;
  std::optional<std::string> identifier_;
};

}  // namespace yakdrom
