// A private ibus-daemon for one test: its own address, cache, configuration and runtime
// folders and its own component folder, so that neither the user's desktop nor a test running
// beside it can see its engines or its keys. Use from one thread.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frontends/support/DaemonProcess.h"

namespace yakdrom::testing {

/// What a daemon is started with.
struct IBusDaemonOptions {
  /// The folder of component XML files the daemon reads instead of the system's.
  std::filesystem::path componentFolder;
  /// Variables the daemon and the engines it starts see on top of the defaults (they win).
  std::vector<std::pair<std::string, std::string>> environment;
  /// An X display for the engines' windows; without one they draw offscreen.
  std::optional<std::string> display;
  /// How long the daemon may take to publish its address.
  std::chrono::milliseconds startDeadline{10'000};
};

class IBusTestDaemon {
 public:
  IBusTestDaemon() = default;
  /// Stops the daemon and removes its folders.
  ~IBusTestDaemon();
  IBusTestDaemon(const IBusTestDaemon&) = delete;
  IBusTestDaemon& operator=(const IBusTestDaemon&) = delete;

  /// Starts the daemon and waits for its address; returns false (see error()) when it did not
  /// come up before the deadline.
  [[nodiscard]] bool start(const IBusDaemonOptions& options);
  /// Terminates the daemon (SIGTERM, then SIGKILL after `deadline`) and waits for it.
  void stop(std::chrono::milliseconds deadline = std::chrono::seconds(5));

  /// Returns true while the daemon runs.
  [[nodiscard]] bool running() const { return daemon_.running(); }
  /// Returns the D-Bus address clients connect to (empty before start()).
  [[nodiscard]] const std::string& address() const { return address_; }
  /// Returns the daemon's process id, or 0 when it is not running.
  [[nodiscard]] pid_t pid() const { return daemon_.pid(); }
  /// Returns the processes the daemon started, such as the engines.
  [[nodiscard]] std::vector<pid_t> children() const;
  /// Returns the XDG_CONFIG_HOME the daemon and its engines see, unless the caller set one.
  [[nodiscard]] std::filesystem::path configHome() const { return root_ / "config"; }
  /// Returns the XDG_RUNTIME_DIR the daemon and its engines see.
  [[nodiscard]] std::filesystem::path runtimeFolder() const { return root_ / "runtime"; }
  /// Returns why start() failed.
  [[nodiscard]] const std::string& error() const { return error_; }
  /// Returns what the daemon and its engines wrote to stdout and stderr so far.
  [[nodiscard]] std::string log() const;

 private:
  [[nodiscard]] bool makeFolders();
  [[nodiscard]] std::vector<std::string> environment(const IBusDaemonOptions& options) const;
  [[nodiscard]] bool spawn(const std::vector<std::string>& environment);
  [[nodiscard]] bool waitForAddress(std::chrono::milliseconds deadline);
  void fail(const std::string& reason);

  std::filesystem::path root_;
  std::string address_;
  std::string error_;
  DaemonProcess daemon_;
};

/// Returns the path of ibus-daemon, or nothing when it is not installed.
[[nodiscard]] std::optional<std::filesystem::path> ibusDaemonProgram();

}  // namespace yakdrom::testing
