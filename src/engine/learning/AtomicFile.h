// The one way the engine reads a whole file and the one way it writes one. A write goes to
// a temporary file in the target's folder, is flushed to disk and then renamed over the
// target, so readers and a crash at any moment find either the old file or the new one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/learning/FileResult.h"
#include "engine/learning/LargeString.h"

namespace yakdrom::detail {

class AtomicFile {
 public:
  /// Returns the bytes of the file at `path`, or the error that stopped the read; anything
  /// but a regular file, and a file larger than 512 MiB, is refused (see FileRefusal).
  [[nodiscard]] static FileResult<LargeString> read(const std::filesystem::path& path);

  /// Replaces the file at `path` with `bytes` atomically, creating its folder when missing,
  /// and returns the number of bytes written. An existing file keeps its permissions; a
  /// symbolic link keeps pointing to the file it names, which is the one replaced, and one
  /// to a missing file is refused. A device or FIFO is written to, not replaced. Temporary
  /// files that writers stopped before this program started left beside the file go.
  [[nodiscard]] static FileResult<std::size_t> write(const std::filesystem::path& path,
                                                     std::string_view bytes);

  /// Writes all of `bytes` to the open descriptor `fd`, going on after interruptions;
  /// returns false, with errno set, when a write fails.
  [[nodiscard]] static bool writeAll(int fd, std::string_view bytes);
};

}  // namespace yakdrom::detail
