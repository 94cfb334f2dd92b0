// The advisory lock that every program sharing the settings file holds while it reads,
// changes and writes the file, so that no change is made to a copy another program has
// since replaced. It lives in "<file>.flock": QSettings creates and deletes "<file>.lock".
#pragma once

#include <filesystem>

#include "engine/learning/FileLock.h"
#include "engine/learning/FileResult.h"

namespace yakdrom {

class SettingsFileLock {
 public:
  /// Waits for the lock of `file`, creating the folder and the lock file when absent; holds
  /// nothing when they cannot be made or opened, and the caller goes on without it.
  explicit SettingsFileLock(const std::filesystem::path& file);

  /// Returns true when the lock is held.
  [[nodiscard]] bool held() const { return lock_.ok(); }

 private:
  FileResult<detail::FileLock> lock_;
};

}  // namespace yakdrom
