// An advisory lock on a file beside a shared file, held by the programs that rewrite it,
// one at a time. Taking it never waits without bound: a program stuck while holding it
// must not stop the others from working, only from writing.
#pragma once

#include <chrono>
#include <filesystem>

#include "engine/learning/FileResult.h"

namespace yakdrom::detail {

class FileLock {
 public:
  /// The action a FileError names when the lock stayed taken by another program.
  static constexpr const char* kAction = "lock";

  /// Takes the exclusive lock on the file at `path`, creating it and its folder when
  /// missing, trying until `patience` has passed; returns the lock, or why it was not taken.
  [[nodiscard]] static FileResult<FileLock> acquire(const std::filesystem::path& path,
                                                    std::chrono::milliseconds patience);

  /// Takes the exclusive lock on the file at `path` as acquire() does, waiting in the
  /// kernel's queue for as long as it takes. Waiters there are woken as the lock is let go,
  /// which keeps a program from starving while others take and release the lock in a
  /// tight loop, as polling cannot.
  [[nodiscard]] static FileResult<FileLock> wait(const std::filesystem::path& path);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  /// Releases the lock.
  ~FileLock();

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  // Opens the lock file, making it and its folder when missing, without locking it.
  [[nodiscard]] static FileResult<FileLock> open(const std::filesystem::path& path);

  int fd_ = -1;
};

}  // namespace yakdrom::detail
