#include "engine/store/SettingsFileLock.h"

namespace yakdrom {
namespace {

std::filesystem::path lockFileOf(const std::filesystem::path& file) {
  std::filesystem::path lockFile = file;
  lockFile += ".flock";
  return lockFile;
}

}  // namespace

SettingsFileLock::SettingsFileLock(const std::filesystem::path& file)
    : lock_(detail::FileLock::wait(lockFileOf(file))) {}

}  // namespace yakdrom
