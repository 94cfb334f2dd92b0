// The running IBus engine's process ID in $XDG_RUNTIME_DIR/yakdrom/yakdrom-ibus.pid, so that
// an uninstall can end exactly that process and no other one. Main thread.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace yakdrom {

class PidFile {
 public:
  static constexpr std::string_view kEngineProgram = "yakdrom-ibus";

  /// Returns <runtimeFolder>/yakdrom/yakdrom-ibus.pid.
  [[nodiscard]] static std::filesystem::path enginePath(const std::filesystem::path& runtimeFolder);

  /// Returns the engine's file under $XDG_RUNTIME_DIR, or nothing when it is not set.
  [[nodiscard]] static std::optional<std::filesystem::path> engineFromEnvironment();

  /// Writes this process's ID to `path`, creating its folder readable by the user alone.
  explicit PidFile(std::filesystem::path path);
  /// Removes the file when it still holds this process's ID.
  ~PidFile();
  PidFile(const PidFile&) = delete;
  PidFile& operator=(const PidFile&) = delete;

  /// Returns true when the file was written.
  [[nodiscard]] bool written() const { return written_; }

  /// Returns the process ID the file at `path` holds, or nothing when it holds none.
  [[nodiscard]] static std::optional<pid_t> read(const std::filesystem::path& path);

  /// Sends `signal` to the process the file at `path` names when it is alive and runs a
  /// program named yakdrom-ibus, even one whose file was removed since; returns true when
  /// the signal was sent. A file left behind whose ID now belongs to another program ends
  /// nothing.
  [[nodiscard]] static bool signalRunning(const std::filesystem::path& path, int signal);

 private:
  std::filesystem::path path_;
  bool written_ = false;
};

}  // namespace yakdrom
