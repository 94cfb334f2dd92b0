#include "ime/platform/InstallManifest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>
#include <variant>

namespace yakdrom {
namespace {

namespace fs = std::filesystem;

struct Escape {
  char written;
  char meant;
};

// What printf '%b' undoes when every backslash of the line was doubled.
constexpr Escape kEscapes[] = {{'\\', '\\'}, {'n', '\n'}};

constexpr std::string_view kMalformed = "not a manifest line";
constexpr std::string_view kNotPlain = "not an absolute path without \".\" or \"..\"";
constexpr std::string_view kOutside = "outside the folders an install writes to";
constexpr std::string_view kNotFileOrLink = "neither a regular file nor a symbolic link";

std::optional<std::string> unescaped(std::string_view line) {
  std::string path;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\') {
      path += line[i];
      continue;
    }
    if (++i == line.size()) return std::nullopt;
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [c = line[i]](const Escape& e) { return e.written == c; });
    if (escape == std::end(kEscapes)) return std::nullopt;
    path += escape->meant;
  }
  return path;
}

std::string systemReason(int error) { return std::generic_category().message(error); }

// The path an entry names, without a folder's "/"; nothing for a relative path or one whose
// "." or ".." would make where it points depend on how it is read.
std::optional<fs::path> plainPath(std::string_view entry) {
  while (entry.size() > 1 && entry.back() == '/') entry.remove_suffix(1);
  if (entry.size() < 2 || entry.front() != '/') return std::nullopt;
  const fs::path path(entry);
  const bool dotted = std::any_of(path.begin(), path.end(),
                                  [](const fs::path& part) { return part == "." || part == ".."; });
  return dotted ? std::nullopt : std::optional(path);
}

fs::path plainRoot(const fs::path& root) {
  std::string text = root.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// Returns the part of `path` below `root` when `path` lies strictly inside it.
std::optional<fs::path> below(const fs::path& path, const fs::path& root) {
  const auto [rootEnd, pathAt] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
  if (rootEnd != root.end() || pathAt == path.end()) return std::nullopt;
  fs::path rest;
  for (auto it = pathAt; it != path.end(); ++it) rest /= *it;
  return rest;
}

bool isRootOrAbove(const fs::path& folder, const fs::path& root) {
  return folder == root || below(root, folder).has_value();
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  [[nodiscard]] int get() const { return fd_; }

 private:
  int fd_;
};

enum class Outcome { removed, gone, kept, failed };

struct Attempt {
  Outcome outcome;
  std::string reason;
};

Attempt failure(int error) { return {Outcome::failed, systemReason(error)}; }

Attempt fromErrno(int error) {
  if (error == ENOENT) return {Outcome::gone, {}};
  // A folder someone put something into stays, and that is no failure.
  if (error == ENOTEMPTY || error == EEXIST) return {Outcome::kept, {}};
  return failure(error);
}

// Opens the folder holding `relative` inside `root`; the root itself may be a symbolic link
// (a home moved elsewhere), nothing below it may.
std::variant<Descriptor, Attempt> openParent(const fs::path& root, const fs::path& relative) {
  Descriptor folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return fromErrno(errno);
  for (const fs::path& part : relative.parent_path()) {
    Descriptor next(
        ::openat(folder.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (next.get() < 0) return fromErrno(errno);
    folder = std::move(next);
  }
  return folder;
}

Attempt removeFileInside(const fs::path& root, const fs::path& relative) {
  auto parent = openParent(root, relative);
  if (auto* attempt = std::get_if<Attempt>(&parent)) return *attempt;
  const int folder = std::get<Descriptor>(parent).get();
  const fs::path name = relative.filename();
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return fromErrno(errno);
  if (S_ISDIR(status.st_mode)) return failure(EISDIR);
  if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
    return {Outcome::failed, std::string(kNotFileOrLink)};
  }
  if (::unlinkat(folder, name.c_str(), 0) != 0) return fromErrno(errno);
  return {Outcome::removed, {}};
}

Attempt removeFolderInside(const fs::path& root, const fs::path& relative) {
  auto parent = openParent(root, relative);
  if (auto* attempt = std::get_if<Attempt>(&parent)) return *attempt;
  const int folder = std::get<Descriptor>(parent).get();
  if (::unlinkat(folder, relative.filename().c_str(), AT_REMOVEDIR) != 0) return fromErrno(errno);
  return {Outcome::removed, {}};
}

// rmdir removes only an empty folder and never follows a link, so a folder above a root
// needs no walk.
Attempt removeEmptyFolder(const fs::path& folder) {
  if (::rmdir(folder.c_str()) != 0) return fromErrno(errno);
  return {Outcome::removed, {}};
}

class Remover {
 public:
  explicit Remover(const std::vector<fs::path>& roots) {
    std::transform(roots.begin(), roots.end(), std::back_inserter(roots_), plainRoot);
  }

  void removeFile(const std::string& entry) {
    const auto path = plainPath(entry);
    if (!path) return fail(entry, kNotPlain);
    for (const fs::path& root : roots_) {
      if (const auto relative = below(*path, root))
        return record(entry, removeFileInside(root, *relative));
    }
    fail(entry, kOutside);
  }

  void removeFolder(const std::string& entry) {
    const auto path = plainPath(entry);
    if (!path) return fail(entry, kNotPlain);
    for (const fs::path& root : roots_) {
      if (const auto relative = below(*path, root)) {
        return record(entry, removeFolderInside(root, *relative));
      }
    }
    const bool holdsARoot = std::any_of(roots_.begin(), roots_.end(), [&](const fs::path& root) {
      return isRootOrAbove(*path, root);
    });
    if (!holdsARoot) return fail(entry, kOutside);
    record(entry, removeEmptyFolder(*path));
  }

  void fail(const std::string& entry, std::string_view reason) {
    result_.failed.push_back({entry, std::string(reason)});
  }

  [[nodiscard]] RemovalResult take() { return std::move(result_); }

 private:
  void record(const std::string& entry, const Attempt& attempt) {
    if (attempt.outcome == Outcome::removed) result_.removed.push_back(entry);
    if (attempt.outcome == Outcome::failed) result_.failed.push_back({entry, attempt.reason});
  }

  std::vector<fs::path> roots_;
  RemovalResult result_;
};

bool isFolder(std::string_view entry) { return !entry.empty() && entry.back() == '/'; }

}  // namespace

FileResult<InstallManifest> InstallManifest::read(const fs::path& file) {
  const Descriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return FileError("read", file, std::error_code(errno, std::generic_category()));
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(in.get(), buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return FileError("read", file, std::error_code(errno, std::generic_category()));
    text.append(buffer, static_cast<std::size_t>(count));
  }
  return parse(text);
}

InstallManifest InstallManifest::parse(std::string_view text) {
  InstallManifest manifest;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty()) continue;
    if (auto path = unescaped(line)) {
      manifest.entries_.push_back(std::move(*path));
    } else {
      manifest.malformed_.emplace_back(line);
    }
  }
  return manifest;
}

std::string InstallManifest::escape(std::string_view path) {
  std::string line;
  for (const char c : path) {
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [c](const Escape& e) { return e.meant == c; });
    if (escape == std::end(kEscapes)) {
      line += c;
    } else {
      line += '\\';
      line += escape->written;
    }
  }
  return line;
}

RemovalResult InstallManifest::removeListed(const std::vector<fs::path>& allowedRoots) const {
  Remover remover(allowedRoots);
  for (const std::string& line : malformed_) remover.fail(line, kMalformed);
  std::vector<std::string> folders;
  for (const std::string& entry : entries_) {
    if (isFolder(entry)) {
      folders.push_back(entry);
    } else {
      remover.removeFile(entry);
    }
  }
  // A folder inside another has the longer path, so it goes first.
  std::stable_sort(folders.begin(), folders.end(),
                   [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& folder : folders) remover.removeFolder(folder);
  return remover.take();
}

}  // namespace yakdrom
