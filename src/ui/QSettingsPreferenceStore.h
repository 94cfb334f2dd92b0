// The user's settings and statistics on disk, through QSettings in INI form (organisation
// and application "Yakdrom"), so every Yakdrom program on the desktop shares them. Keys are
// stored as given and must not contain "/". Any thread.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include "engine/store/PreferenceStore.h"

class QSettings;
class QVariant;

namespace yakdrom {

/// Writes go to disk at once and reads first pick up what other processes wrote, so two
/// programs never keep diverging copies. INI files keep numbers and Booleans as text; the
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

  /// Returns true when the last read or write of the file succeeded.
  [[nodiscard]] bool isHealthy() const;

  /// Returns the file the store reads and writes.
  [[nodiscard]] std::filesystem::path file() const;

 private:
  [[nodiscard]] QVariant value(std::string_view key) const;
  void put(std::string_view key, const QVariant& value);

  mutable std::mutex mutex_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace yakdrom
