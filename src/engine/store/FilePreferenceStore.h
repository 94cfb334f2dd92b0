// The user's settings and statistics in the INI file that the Qt build keeps through
// QSettings, read and written the same way, for programs built without Qt. Any thread.
#pragma once

#include <filesystem>
#include <mutex>

#include "engine/learning/FileIdentity.h"
#include "engine/store/FileLooks.h"
#include "engine/store/IniDocument.h"
#include "engine/store/PreferenceStore.h"

namespace yakdrom {

/// Writes go to disk at once, atomically, under the SettingsFileLock, each on the file as
/// just read; reads first pick up what other programs wrote.
/// The file keeps numbers and Booleans as text: the getters convert text as the in-memory
/// store converts typed values, and string() gives a number or Boolean as its text.
class FilePreferenceStore final : public PreferenceStore {
 public:
  /// Opens the INI file at `file`, which the first write creates with its folders.
  explicit FilePreferenceStore(std::filesystem::path file);

  /// Returns the user's settings file: $XDG_CONFIG_HOME/Yakdrom/Yakdrom.ini, or
  /// ~/.config/Yakdrom/Yakdrom.ini when that variable is unset or relative.
  [[nodiscard]] static std::filesystem::path userFile();

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
  /// Returns why the last change was not written: the file could not be read (writing would
  /// lose what it holds) or could not be written.
  [[nodiscard]] std::optional<std::string> lastError() const override;
  void beginReads() const override;
  void endReads() const override;

  /// Returns the file the store reads and writes.
  [[nodiscard]] const std::filesystem::path& file() const { return file_; }

 private:
  void reloadIfChanged() const;
  [[nodiscard]] std::optional<std::string> raw(std::string_view key) const;
  void put(std::string_view key, std::string raw);
  void save();

  const std::filesystem::path file_;
  // Recursive, so that a change run by update() uses the store's own calls.
  mutable std::recursive_mutex mutex_;
  mutable IniDocument document_;  // guarded by mutex_
  mutable std::optional<detail::FileIdentity>
      loadedStamp_;                               // guarded by mutex_; nothing while absent
  mutable bool loaded_ = false;                   // guarded by mutex_
  mutable detail::FileLooks looks_;               // guarded by mutex_
  mutable std::optional<std::string> readError_;  // guarded by mutex_
  std::optional<std::string> writeError_;         // guarded by mutex_
  bool updating_ = false;                         // guarded by mutex_; within update()
  bool changed_ = false;                          // guarded by mutex_; within update()
};

}  // namespace yakdrom
