#include "frontends/cli/PadRecovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "engine/learning/AtomicFile.h"
#include "engine/store/UserFolders.h"
#include "engine/text/Text.h"

namespace yakdrom::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "pad-recovered-";
constexpr std::string_view kSuffix = ".txt";
// The names of the files already announced, one a line. A list rather than a time stamp,
// so a recovered file the user edits is not announced again.
constexpr std::string_view kAnnouncedName = "pad-recovered.announced";
// Two pads hung up in the same second get numbered names.
constexpr int kMaxSameSecond = 100;

std::string timeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return std::string(text, length);
}

// Creates `path`, failing when it exists, and writes `text` to it; the text is on disk
// when this returns true.
bool writeNew(const fs::path& path, std::string_view text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = detail::AtomicFile::writeAll(fd, text) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && written;
}

bool isRecoveryFile(const fs::path& path) {
  const std::string name = path.filename().string();
  return name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

std::set<std::string> readLines(const fs::path& path) {
  std::set<std::string> lines;
  if (const auto bytes = detail::AtomicFile::read(path)) {
    for (const std::string_view line : text::splitLines(bytes.value())) lines.emplace(line);
  }
  return lines;
}

}  // namespace

fs::path PadRecovery::defaultFolder() { return UserFolders::state(); }

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
