// The settings window as the addon opens it: the program `yakdrom-settings` of the bundle,
// started on its own. The daemon hosts no windows; the two share the settings file and the
// user dictionary, which every store keeps safe across processes. Main thread.
#pragma once

#include <filesystem>

#include "ime/controller/SettingsWindowOpener.h"
#include "ime/platform/Log.h"

namespace yakdrom {

class FcitxSettingsLauncher final : public SettingsWindowOpener {
 public:
  /// Starts `program` and logs to `log`, which must outlive the launcher.
  FcitxSettingsLauncher(std::filesystem::path program, Log& log)
      : program_(std::move(program)), log_(log) {}

  /// Starts the program detached from the daemon, its path as the whole argument vector
  /// (no shell); logs a program that is missing instead.
  void show() override;

  /// Returns the program started.
  [[nodiscard]] const std::filesystem::path& program() const { return program_; }

 private:
  std::filesystem::path program_;
  Log& log_;
};

}  // namespace yakdrom
