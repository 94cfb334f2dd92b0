// The paths an install wrote, as scripts/install.sh lists them in <bundle>/install-manifest.txt:
// one absolute path a line, "\" written "\\" and a line feed "\n"; folders the install created
// end in "/". Removing a manifest removes those paths and nothing else. Any thread.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/learning/FileResult.h"

namespace yakdrom {

struct RemovalFailure {
  std::string path;    // as the manifest lists it
  std::string reason;  // the system's error, or why the path was not touched

  bool operator==(const RemovalFailure&) const = default;
};

struct RemovalResult {
  std::vector<std::string> removed;  // folders end in "/"
  std::vector<RemovalFailure> failed;

  bool operator==(const RemovalResult&) const = default;
};

class InstallManifest {
 public:
  static constexpr std::string_view kFileName = "install-manifest.txt";

  /// Reads the manifest at `file`.
  [[nodiscard]] static FileResult<InstallManifest> read(const std::filesystem::path& file);

  /// Returns the manifest that `text` holds; a line with a backslash that escapes neither a
  /// backslash nor "n" is kept as it is written, and refused when removing.
  [[nodiscard]] static InstallManifest parse(std::string_view text);

  /// Returns `path` as one manifest line, without its line feed.
  [[nodiscard]] static std::string escape(std::string_view path);

  /// Returns the listed paths, unescaped, in the order of the file.
  [[nodiscard]] const std::vector<std::string>& entries() const { return entries_; }

  /// Removes the listed files and symbolic links that lie inside one of `allowedRoots`
  /// (without following a symbolic link below the root), then the listed folders that are
  /// left empty, deepest first; a folder may also be a root or a folder above one. A path
  /// already gone is neither removed nor failed; every other path not removed is a failure.
  [[nodiscard]] RemovalResult removeListed(
      const std::vector<std::filesystem::path>& allowedRoots) const;

 private:
  std::vector<std::string> entries_;
  std::vector<std::string> malformed_;
};

}  // namespace yakdrom
