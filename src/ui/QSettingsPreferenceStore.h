// The user's settings and statistics on disk, through QSettings in INI form (organisation
// and application "Yakdrom"), so every Yakdrom program on the desktop shares them. Keys are
// stored as given and must not contain "/". Any thread.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include "engine/learning/FileIdentity.h"
#include "engine/store/FileLooks.h"
#include "engine/store/PreferenceStore.h"

class QSettings;
class QVariant;

namespace yakdrom {

/// Writes go to disk at once, under the SettingsFileLock, each on the file as just read, and
/// reads first pick up what other processes wrote, so two programs never keep diverging
/// copies. INI files keep numbers and Booleans as text; the
/// getters convert text as they convert typed values, and string() gives any number or
/// Boolean as its text (where the in-memory store gives nothing).
class QSettingsPreferenceStore final : public PreferenceStore {
 public:
  /// Opens the user's settings file of "Yakdrom" (under $XDG_CONFIG_HOME).
  QSettingsPreferenceStore();
  /// Opens the INI file `file` instead.
  explicit QSettingsPreferenceStore(const std::filesystem::path& file);
  ~QSettingsPreferenceStore() override;
  QSettingsPreferenceStore(const QSettingsPreferenceStore&) = delete;
  QSettingsPreferenceStore& operator=(const QSettingsPreferenceStore&) = delete;

  [[nodiscard]] std::optional<std::int64_t> integer(std::string_view key) const override;
  [[nodiscard]] std::optional<double> real(std::string_view key) const override;
  [[nodiscard]] std::optional<bool> boolean(std::string_view key) const override;
  [[nodiscard]] std::optional<std::string> string(std::string_view key) const override;
  [[nodiscard]] std::optional<IntegerMap> integerMap(std::string_view key) const override;

  void setInteger(std::string_view key, std::int64_t value) override;
  void setReal(std::string_view key, double value) override;
  void setBoolean(std::string_view key, bool value) override;
  void setString(std::string_view key, std::string_view value) override;
  void setIntegerMap(std::string_view key, const IntegerMap& value) override;
  void remove(std::string_view key) override;
  [[nodiscard]] bool contains(std::string_view key) const override;
  void update(const std::function<void(PreferenceStore&)>& change) override;
  /// Returns why the last change was not written: the file could not be read or written.
  [[nodiscard]] std::optional<std::string> lastError() const override;
  void beginReads() const override;
  void endReads() const override;

  /// Returns the file the store reads and writes.
  [[nodiscard]] const std::filesystem::path& file() const { return file_; }

 private:
  explicit QSettingsPreferenceStore(std::unique_ptr<QSettings> settings);
  [[nodiscard]] bool sync() const;
  void refresh(bool locked) const;
  [[nodiscard]] QVariant value(std::string_view key) const;
  void put(std::string_view key, const QVariant& value);

  // Recursive, so that a change run by update() uses the store's own calls.
  mutable std::recursive_mutex mutex_;
  mutable std::unique_ptr<QSettings> settings_;  // guarded by mutex_
  const std::filesystem::path file_;
  mutable std::optional<detail::FileIdentity>
      syncedStamp_;                       // guarded by mutex_; the file last synced
  mutable bool synced_ = false;           // guarded by mutex_
  mutable detail::FileLooks looks_;       // guarded by mutex_
  std::optional<std::string> lastError_;  // guarded by mutex_
  bool updating_ = false;                 // guarded by mutex_; within update()
};

}  // namespace yakdrom
