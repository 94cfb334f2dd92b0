// The advisory lock that every program sharing the settings file holds while it reads,
// changes and writes the file, so that no change is made to a copy another program has
// since replaced. It lives in "<file>.flock": QSettings creates and deletes "<file>.lock".
#pragma once

#include <filesystem>

namespace yakdrom {

class SettingsFileLock {
 public:
  /// Waits until no other holder of the lock of `file` is left, creating the folder and the
  /// lock file when absent; holds nothing when they cannot be made or opened.
  explicit SettingsFileLock(const std::filesystem::path& file);
  ~SettingsFileLock();
  SettingsFileLock(const SettingsFileLock&) = delete;
  SettingsFileLock& operator=(const SettingsFileLock&) = delete;

  /// Returns true when the lock is held.
  [[nodiscard]] bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace yakdrom
