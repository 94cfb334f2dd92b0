// A private Fcitx 5 daemon for one test: its own message bus (a bus that starts no services,
// so nothing can bring up the user's own daemon), its own home and XDG folders, and only the
// addons the test names. Use from one thread.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frontends/support/ChildProcess.h"
#include "frontends/support/DaemonProcess.h"

using GDBusConnection = struct _GDBusConnection;
using GVariant = struct _GVariant;

namespace yakdrom::testing {

/// What a daemon is started with.
struct FcitxDaemonOptions {
  /// Addons enabled besides the D-Bus front end and the keyboard ("m17n", "yakdrom").
  std::vector<std::string> addons;
  /// Variables the daemon sees on top of the defaults (they win), such as FCITX_ADDON_DIRS.
  std::vector<std::pair<std::string, std::string>> environment;
  /// How long the bus and the daemon may take to come up.
  std::chrono::milliseconds startDeadline{10'000};
};

class FcitxTestDaemon {
 public:
  FcitxTestDaemon() = default;
  /// Stops the daemon and its bus and removes their folders.
  ~FcitxTestDaemon();
  FcitxTestDaemon(const FcitxTestDaemon&) = delete;
  FcitxTestDaemon& operator=(const FcitxTestDaemon&) = delete;

  /// Prepares the folders without starting anything, so a test can write settings first;
  /// start() does it when it was not done.
  [[nodiscard]] bool prepare();
  /// Starts the bus and the daemon and waits until the daemon answers on it; returns false
  /// (see error()) when either did not come up before the deadline.
  [[nodiscard]] bool start(const FcitxDaemonOptions& options);
  /// Asks the daemon to exit, terminates it when it has not after `deadline`, then ends the
  /// bus.
  void stop(std::chrono::milliseconds deadline = std::chrono::seconds(5));

  /// Returns true while the daemon runs.
  [[nodiscard]] bool running() const { return daemon_.running(); }
  /// Returns the bus address clients connect to (empty before start()).
  [[nodiscard]] const std::string& address() const { return address_; }
  /// Returns the daemon's process id, or 0 when it is not running.
  [[nodiscard]] pid_t pid() const { return daemon_.pid(); }
  /// Returns the HOME the daemon sees.
  [[nodiscard]] std::filesystem::path home() const { return root_ / "home"; }
  /// Returns the XDG_CONFIG_HOME the daemon sees, unless the caller set one.
  [[nodiscard]] std::filesystem::path configHome() const { return root_ / "config"; }
  /// Returns the XDG_DATA_HOME the daemon sees, unless the caller set one.
  [[nodiscard]] std::filesystem::path dataHome() const { return root_ / "data"; }
  /// Returns why start() failed.
  [[nodiscard]] const std::string& error() const { return error_; }
  /// Returns what the daemon wrote to stdout and stderr so far.
  [[nodiscard]] std::string log() const;

 private:
  [[nodiscard]] bool startBus(const std::vector<std::string>& environment,
                              std::chrono::milliseconds deadline);
  [[nodiscard]] std::vector<std::string> environment(const FcitxDaemonOptions& options) const;
  [[nodiscard]] bool spawn(const FcitxDaemonOptions& options,
                           const std::vector<std::string>& environment);
  [[nodiscard]] bool waitUntilReady(std::chrono::milliseconds deadline);
  [[nodiscard]] bool answers();
  [[nodiscard]] GVariant* call(const char* service, const char* path, const char* interface,
                               const char* method, GVariant* parameters);
  void fail(const std::string& reason);

  std::filesystem::path root_;
  ChildProcess bus_;
  GDBusConnection* connection_ = nullptr;
  std::string address_;
  std::string error_;
  DaemonProcess daemon_;
};

/// Returns the path of fcitx5, or nothing when it is not installed.
[[nodiscard]] std::optional<std::filesystem::path> fcitxProgram();

/// Returns the path of dbus-daemon, or nothing when it is not installed.
[[nodiscard]] std::optional<std::filesystem::path> busProgram();

/// Returns the folder of the daemon's own addon libraries, which FCITX_ADDON_DIRS must keep
/// listing beside any folder of ours.
[[nodiscard]] std::filesystem::path systemAddonFolder();

/// Returns the daemon's own data folder (addon/*.conf), which FCITX_DATA_DIRS must keep
/// listing beside any folder of ours.
[[nodiscard]] std::filesystem::path systemDataFolder();

}  // namespace yakdrom::testing
