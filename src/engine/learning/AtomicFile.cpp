#include "engine/learning/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>

#include "engine/learning/FileRefusal.h"

namespace yakdrom::detail {
namespace {

namespace fs = std::filesystem;

// Larger files are refused rather than read: no file the engine reads is near this size,
// and reading one whole could take all the memory there is.
constexpr std::size_t kMostBytesRead = std::size_t{512} << 20;

// A temporary file last changed before the program started is left by a writer that was
// stopped: one that a running write still owns was changed since. File times come from the
// kernel's coarse clock, which lags this one by up to a tick, so a file written just after
// start-up can look older than the start; the margin keeps such a file.
constexpr std::chrono::seconds kClockMargin{5};
const fs::file_time_type kStaleBefore = fs::file_time_type::clock::now() - kClockMargin;

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

// A FIFO or a device could block a read or never end it; a huge file would not fit.
std::optional<FileRefusal> readRefusal(const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return FileRefusal::notRegularFile;
  if (static_cast<std::uintmax_t>(info.st_size) > kMostBytesRead) return FileRefusal::tooLarge;
  return std::nullopt;
}

// Replacing a device or FIFO would cut off whoever reads it, so the bytes go to it directly.
FileResult<std::size_t> writeInPlace(const fs::path& path, std::string_view bytes) {
  const Descriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return errnoError("write", path, errno);
  errno = 0;
  if (!AtomicFile::writeAll(fd.get(), bytes))
    return errnoError("write", path, errno != 0 ? errno : EIO);
  return bytes.size();
}

bool isLink(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// A link to a missing file would otherwise be replaced by a plain file, silently ending
// the link the user set up.
FileError brokenLinkError(const fs::path& path, int error) {
  if (error != ENOENT) return errnoError("write", path, error);
  std::error_code ignored;
  return FileError{"write", path, FileRefusal::danglingLink,
                   fs::read_symlink(path, ignored).string()};
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

// Temporary names are this, then the writer's process id, "-" and a number.
std::string temporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + ".tmp-";
}

bool isNumber(std::string_view digits) {
  return !digits.empty() &&
         std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isTemporaryName(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return false;
  name.remove_prefix(prefix.size());
  const std::size_t dash = name.find('-');
  return dash != std::string_view::npos && isNumber(name.substr(0, dash)) &&
         isNumber(name.substr(dash + 1));
}

// Removes the temporary files of `target` that writers killed before their rename left.
void removeStaleTemporaries(const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code failed;
    if (!isTemporaryName(it->path().filename().string(), prefix) ||
        it->symlink_status(failed).type() != fs::file_type::regular) {
      continue;
    }
    const fs::file_time_type changed = fs::last_write_time(it->path(), failed);
    if (!failed && changed < kStaleBefore) fs::remove(it->path(), failed);
  }
}

// Opens a fresh temporary file beside `target`. The name is unique per process and call,
// so two writers of the same file never share a temporary file.
int openTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = folderOf(target);
  for (;;) {
    temporary = folder / (temporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                          std::to_string(counter++));
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

// The type is checked before the open, which could block on a FIFO, and again after it
// on what was opened, in case the file was replaced between the two.
FileResult<LargeString> AtomicFile::read(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errnoError("read", path, errno);
  if (const auto refusal = readRefusal(info)) return FileError{"read", path, *refusal};
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return errnoError("read", path, errno);
  if (::fstat(fd.get(), &info) != 0) return errnoError("read", path, errno);
  if (const auto refusal = readRefusal(info)) return FileError{"read", path, *refusal};
  const auto expected = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
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
    if (used > kMostBytesRead) return FileError{"read", path, FileRefusal::tooLarge};
  }
  bytes.resize(used);
  return bytes;
}

FileResult<std::size_t> AtomicFile::write(const fs::path& path, std::string_view bytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return writeInPlace(path, bytes);
  } else if (const int statError = errno; isLink(path)) {
    return brokenLinkError(path, statError);
  }
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
  if (!AtomicFile::writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) error = failure();
  if (::close(fd.release()) != 0 && error == 0) error = failure();
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = failure();
  if (error != 0) {
    ::unlink(temporary.c_str());
    return errnoError("write", path, error);
  }
  syncFolder(target);
  removeStaleTemporaries(target);
  return bytes.size();
}

bool AtomicFile::writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace yakdrom::detail
