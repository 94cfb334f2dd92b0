// Finds the files the program carries beside itself (lexicon, candidate font). Any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace yakdrom {

class ResourceLocator {
 public:
  virtual ~ResourceLocator() = default;

  /// Returns the path of the resource `name`.`extension` when such a file exists.
  [[nodiscard]] virtual std::optional<std::filesystem::path> find(
      std::string_view name, std::string_view extension) const = 0;
};

}  // namespace yakdrom
