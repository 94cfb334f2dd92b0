#include "engine/store/SettingsFileLock.h"

#include <chrono>

namespace yakdrom {
namespace {

constexpr std::chrono::milliseconds kPatience{5000};

std::filesystem::path lockFileOf(const std::filesystem::path& file) {
  std::filesystem::path lockFile = file;
  lockFile += ".flock";
  return lockFile;
}

}  // namespace

SettingsFileLock::SettingsFileLock(const std::filesystem::path& file)
    : lock_(detail::FileLock::acquire(lockFileOf(file), kPatience)) {}

}  // namespace yakdrom
