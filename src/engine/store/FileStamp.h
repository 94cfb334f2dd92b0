// What tells one version of a file from another without reading it: writers replace the
// settings file by renaming a new one into place, so its inode changes even when its size
// and time stamp do not.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace yakdrom {

struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;

  /// Returns the stamp of the file at `path`, or nothing when it cannot be examined.
  [[nodiscard]] static std::optional<FileStamp> of(const std::filesystem::path& path);

  bool operator==(const FileStamp&) const = default;
};

}  // namespace yakdrom
