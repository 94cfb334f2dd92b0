#include "engine/learning/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

namespace yakdrom::detail {
namespace {

namespace fs = std::filesystem;

// Short first pauses let a lock that is held for one write be taken soon after; longer
// ones later keep a wait on a stuck program cheap.
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{25};

FileError lockError(const fs::path& path, int error) {
  return FileError{FileLock::kAction, path, std::error_code(error, std::generic_category())};
}

}  // namespace

FileResult<FileLock> FileLock::open(const fs::path& path) {
  std::error_code ec;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  fs::create_directories(folder, ec);
  if (ec) return FileError{"create the folder", folder, ec};
  FileLock lock(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (lock.fd_ < 0) return lockError(path, errno);
  return lock;
}

FileResult<FileLock> FileLock::wait(const fs::path& path) {
  auto opened = open(path);
  if (!opened) return opened;
  FileLock lock = std::move(opened.value());
  while (::flock(lock.fd_, LOCK_EX) != 0) {
    if (errno != EINTR) return lockError(path, errno);
  }
  return lock;
}

FileResult<FileLock> FileLock::acquire(const fs::path& path, std::chrono::milliseconds patience) {
  auto opened = open(path);
  if (!opened) return opened;
  FileLock lock = std::move(opened.value());
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (auto pause = kFirstPause;; pause = std::min(2 * pause, kLongestPause)) {
    if (::flock(lock.fd_, LOCK_EX | LOCK_NB) == 0) return lock;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return lockError(path, errno);
    if (std::chrono::steady_clock::now() >= deadline) return lockError(path, EWOULDBLOCK);
    std::this_thread::sleep_for(pause);
  }
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  std::swap(fd_, other.fd_);
  return *this;
}

// Closing the descriptor releases the lock.
FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace yakdrom::detail
