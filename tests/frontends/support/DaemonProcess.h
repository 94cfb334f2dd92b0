// A daemon a test starts and ends itself (ibus-daemon, fcitx5): an environment made from the
// test's own with the variables that lead to the user's desktop left out, its output in a
// log file, and ending it by its own process ID only. Use from one thread.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom::testing {

/// Returns the test process's environment ("NAME=value" entries) without `withheld`.
[[nodiscard]] std::vector<std::string> environmentWithout(
    std::span<const std::string_view> withheld);

/// Sets `name` to `value` in `entries`, in place of any earlier value.
void assign(std::vector<std::string>& entries, const std::string& name, const std::string& value);

/// Returns the whole text of the file at `path`; empty when it cannot be read.
[[nodiscard]] std::string readFile(const std::filesystem::path& path);

/// Returns true when `pid` names a process that has not exited (a zombie counts as exited).
[[nodiscard]] bool processAlive(pid_t pid);

/// Returns the executable `name` in the first folder of PATH holding one, or nothing.
[[nodiscard]] std::optional<std::filesystem::path> programOnPath(std::string_view name);

class DaemonProcess {
 public:
  DaemonProcess() = default;
  DaemonProcess(const DaemonProcess&) = delete;
  DaemonProcess& operator=(const DaemonProcess&) = delete;
  /// Ends the daemon if it still runs.
  ~DaemonProcess() { kill(std::chrono::seconds(5)); }

  /// Starts `program` with `arguments` (its name first) and exactly `environment`, standard
  /// output and error appended to `log`; returns false (see error()) when it did not start.
  [[nodiscard]] bool start(const std::filesystem::path& program,
                           const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment,
                           const std::filesystem::path& log);
  /// Returns true once the daemon has exited (and collects it).
  [[nodiscard]] bool exited();
  /// Waits up to `deadline` for the daemon to exit; returns true when it has.
  bool waitForExit(std::chrono::milliseconds deadline);
  /// Ends the daemon: SIGTERM, then SIGKILL after `deadline`, and waits for it.
  void kill(std::chrono::milliseconds deadline);

  /// Returns the daemon's process ID, or 0 when it is not running.
  [[nodiscard]] pid_t pid() const { return pid_; }
  [[nodiscard]] bool running() const { return pid_ != 0 && processAlive(pid_); }
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  pid_t pid_ = 0;
  std::string error_;
};

}  // namespace yakdrom::testing
