// What tells one version of a file from another without reading it: the file's device,
// inode, size and change times. A rewrite through AtomicFile always gives a new inode.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>

namespace yakdrom::detail {

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0;
  std::int64_t changedNanoseconds = 0;

  /// Returns the identity of the file at `path` now, or nothing when it cannot be found.
  [[nodiscard]] static std::optional<FileIdentity> of(const std::filesystem::path& path);

  bool operator==(const FileIdentity&) const = default;
};

}  // namespace yakdrom::detail
