#include "engine/store/SettingsFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace yakdrom {
namespace {

constexpr mode_t kLockMode = 0600;

// A read-only descriptor still takes the lock, so a file the user may not write to (on a
// read-only mount, say) is locked all the same.
int openLockFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kLockMode);
  if (fd >= 0) return fd;
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
}

}  // namespace

SettingsFileLock::SettingsFileLock(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  std::filesystem::path lockFile = file;
  lockFile += ".flock";
  fd_ = openLockFile(lockFile);
  if (fd_ < 0) return;
  int locked = -1;
  do {
    locked = ::flock(fd_, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) return;
  ::close(fd_);
  fd_ = -1;
}

// Closing the descriptor releases the lock; a holder that dies releases it the same way.
SettingsFileLock::~SettingsFileLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace yakdrom
