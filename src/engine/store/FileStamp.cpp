#include "engine/store/FileStamp.h"

#include <sys/stat.h>

namespace yakdrom {
namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

}  // namespace

std::optional<FileStamp> FileStamp::of(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{info.st_dev, info.st_ino, info.st_size,
                   info.st_mtim.tv_sec * kNsPerSecond + info.st_mtim.tv_nsec};
}

}  // namespace yakdrom
