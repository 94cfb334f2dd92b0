// The user's settings and statistics in the INI file that the Qt build keeps through
// QSettings, read and written the same way, for programs built without Qt. Any thread.
#pragma once

#include <filesystem>
#include <mutex>

#include "engine/store/IniDocument.h"
#include "engine/store/PreferenceStore.h"

namespace yakdrom {

/// Writes go to disk at once, atomically, and reads first pick up what other programs wrote.
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

  /// Returns true when the last read and the last write of the file succeeded.
  [[nodiscard]] bool isHealthy() const;

  /// Returns the file the store reads and writes.
  [[nodiscard]] const std::filesystem::path& file() const { return file_; }

 private:
  // What tells one version of the file from another without reading it.
  struct Stamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const Stamp&) const = default;
  };

  [[nodiscard]] std::optional<Stamp> stamp() const;
  void reloadIfChanged() const;
  [[nodiscard]] std::optional<std::string> raw(std::string_view key) const;
  void put(std::string_view key, std::string raw);
  void save();

  const std::filesystem::path file_;
  mutable std::mutex mutex_;
  mutable IniDocument document_;              // guarded by mutex_
  mutable std::optional<Stamp> loadedStamp_;  // guarded by mutex_; nothing while absent
  mutable bool loaded_ = false;               // guarded by mutex_
  mutable bool readFailed_ = false;           // guarded by mutex_
  bool writeFailed_ = false;                  // guarded by mutex_
};

}  // namespace yakdrom
