// Removes Yakdrom as it was installed: the per-user copy and the system-wide copy of
// scripts/install.sh (exactly what their manifests list) and the Debian package, asking once
// through pkexec for what needs root; then has IBus forget the engine. Main thread.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "ime/platform/InstallManifest.h"
#include "ime/platform/Log.h"

namespace yakdrom {

struct UninstallPlaces {
  std::filesystem::path home;
  /// "/" but in tests: every system path lies under it.
  std::filesystem::path systemRoot = "/";
  std::string pkexec = "pkexec";
  std::string ibus = "ibus";
  std::string dpkgQuery = "dpkg-query";
  std::string dpkg = "/usr/bin/dpkg";
  /// The system-wide copy's own `yakdrom`, which pkexec runs as root.
  std::filesystem::path privilegedProgram;
  /// $XDG_CACHE_HOME (~/.cache without it), where IBus keeps this user's registry.
  std::filesystem::path cacheHome;
  /// $XDG_RUNTIME_DIR, where the running engine leaves its PID file; empty when unknown.
  std::filesystem::path runtimeFolder;

  /// Returns this user's places: $HOME, "/", the programs on PATH and $XDG_RUNTIME_DIR.
  [[nodiscard]] static UninstallPlaces forThisUser();
  /// Returns <root>/usr/local/lib/yakdrom/bin/yakdrom.
  [[nodiscard]] static std::filesystem::path systemProgram(const std::filesystem::path& root);
};

struct UninstallMessage {
  QString title;
  QString text;
  QString button;
};

struct UninstallReport {
  /// The bundles whose install was there before and is gone now.
  std::vector<std::filesystem::path> removed;
  /// Every path removed in this process, as its manifest lists it.
  std::vector<std::string> removedPaths;
  /// The paths that could not be removed and are still there.
  std::vector<RemovalFailure> failed;
  /// True when the password prompt was dismissed.
  bool cancelled = false;

  /// Returns what the window shows the user.
  [[nodiscard]] UninstallMessage message() const;
};

class Uninstaller {
 public:
  /// Works on `places`, writing failures to `log`, which must outlive the uninstaller.
  Uninstaller(UninstallPlaces places, Log& log);

  /// Removes every copy found and returns what is gone; waits while pkexec asks for the
  /// password.
  [[nodiscard]] UninstallReport run();

  /// Sends SIGTERM to the running yakdrom-ibus named by its PID file and returns true when
  /// one was signalled; the window calls it once the user has read the report.
  [[nodiscard]] bool stopEngine() const;

 private:
  struct Copy;

  void removeInProcess(Copy& copy, UninstallReport& report);
  void runPrivileged(bool systemCopy, bool package, UninstallReport& report);
  void refreshIBus(bool system) const;
  [[nodiscard]] bool packageInstalled() const;

  UninstallPlaces places_;
  Log& log_;
};

}  // namespace yakdrom
