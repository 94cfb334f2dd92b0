#include "frontends/cli/PadRecovery.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <system_error>
#include <utility>

namespace yakdrom::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFolderName = "Yakdrom";
constexpr std::string_view kPrefix = "pad-recovered-";
constexpr std::string_view kSuffix = ".txt";
// The names of the files already announced, one a line. A list rather than a time stamp,
// so a recovered file the user edits is not announced again.
constexpr std::string_view kAnnouncedName = "pad-recovered.announced";
// Two pads hung up in the same second get numbered names.
constexpr int kMaxSameSecond = 100;

fs::path homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  const passwd* user = getpwuid(getuid());
  return user != nullptr ? fs::path(user->pw_dir) : fs::path("/");
}

std::string timeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return std::string(text, length);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Creates `path`, failing when it exists, and writes `text` to it; the text is on disk
// when this returns true.
bool writeNew(const fs::path& path, std::string_view text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && written;
}

bool isRecoveryFile(const fs::path& path) {
  const std::string name = path.filename().string();
  return name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

std::set<std::string> readLines(const fs::path& path) {
  std::set<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.insert(line);
  return lines;
}

}  // namespace

fs::path PadRecovery::defaultFolder() {
  // The XDG rules ignore a relative XDG_STATE_HOME.
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
    return fs::path(state) / kFolderName;
  }
  return homeFolder() / ".local" / "state" / kFolderName;
}

PadRecovery::PadRecovery(fs::path folder) : folder_(std::move(folder)) {}

std::optional<fs::path> PadRecovery::save(std::string_view text) const {
  std::error_code error;
  fs::create_directories(folder_, error);
  const std::string stem = std::string(kPrefix) + timeStamp();
  for (int n = 1; n <= kMaxSameSecond; ++n) {
    const std::string number = n == 1 ? "" : "-" + std::to_string(n);
    const fs::path path = folder_ / (stem + number + std::string(kSuffix));
    if (writeNew(path, text)) return path;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

std::vector<fs::path> PadRecovery::takeUnannounced() const {
  const fs::path announcedPath = folder_ / kAnnouncedName;
  const std::set<std::string> announced = readLines(announcedPath);
  std::vector<std::pair<fs::file_time_type, fs::path>> found;
  std::error_code error;
  for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (!isRecoveryFile(path) || announced.contains(path.filename().string())) continue;
    std::error_code timeError;
    found.emplace_back(it->last_write_time(timeError), path);
  }
  if (found.empty()) return {};
  std::sort(found.rbegin(), found.rend());
  std::ofstream record(announcedPath, std::ios::app);
  std::vector<fs::path> paths;
  for (const auto& [time, path] : found) {
    record << path.filename().string() << "\n";
    paths.push_back(path);
  }
  return paths;
}

}  // namespace yakdrom::cli
