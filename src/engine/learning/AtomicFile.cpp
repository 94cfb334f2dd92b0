#include "engine/learning/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <utility>

namespace yakdrom::detail {
namespace {

namespace fs = std::filesystem;

FileError errnoError(std::string action, const fs::path& path, int error) {
  return FileError{std::move(action), path, std::error_code(error, std::generic_category())};
}

// Closes the descriptor on every path out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  [[nodiscard]] int get() const { return fd_; }
  [[nodiscard]] int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a write really replaces: the target of a symbolic link rather than the link.
fs::path resolvedTarget(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return path;
  fs::path resolved = fs::canonical(path, ec);
  return ec ? path : resolved;
}

fs::path folderOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Opens a fresh temporary file beside `target`. The name is unique per process and call,
// so two writers of the same file never share a temporary file.
int openTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = folderOf(target);
  for (;;) {
    temporary = folder / ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) +
                          "-" + std::to_string(counter++));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
}

void syncFolder(const fs::path& target) {
  const int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileResult<LargeString> AtomicFile::read(const fs::path& path) {
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return errnoError("read", path, errno);
  struct stat info {};
  std::size_t expected = 0;
  if (::fstat(fd.get(), &info) == 0 && info.st_size > 0) {
    expected = static_cast<std::size_t>(info.st_size);
  }
  // Read straight into the result; the byte beyond the size lets a file that has not
  // grown end with one short read.
  LargeString bytes(expected + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(2 * bytes.size());
    const ssize_t n = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errnoError("read", path, errno);
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  bytes.resize(used);
  return bytes;
}

FileResult<std::size_t> AtomicFile::write(const fs::path& path, std::string_view bytes) {
  const fs::path target = resolvedTarget(path);
  std::error_code ec;
  fs::create_directories(folderOf(target), ec);
  if (ec) return FileError{"create the folder", folderOf(target), ec};
  fs::path temporary;
  Descriptor fd(openTemporary(target, temporary));
  if (fd.get() < 0) return errnoError("write", path, errno);

  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd.get(), existing.st_mode & 07777);
  }
  int error = 0;
  const auto failure = [] { return errno != 0 ? errno : EIO; };
  errno = 0;
  if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) error = failure();
  if (::close(fd.release()) != 0 && error == 0) error = failure();
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = failure();
  if (error != 0) {
    ::unlink(temporary.c_str());
    return errnoError("write", path, error);
  }
  syncFolder(target);
  return bytes.size();
}

}  // namespace yakdrom::detail
