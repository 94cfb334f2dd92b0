// A program a test starts with an environment of its own and ends again: its standard output
// is read a line at a time as it comes, so a test can wait for what the program reports
// instead of sleeping. Use from one thread.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace yakdrom::testing {

class ChildProcess {
 public:
  ChildProcess() = default;
  /// Ends the program if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  /// Starts `arguments` (the program, found on PATH, first) with exactly `environment`
  /// ("NAME=value" entries), its standard error appended to `errorLog` (the test's own when
  /// empty); returns false (see error()) when it could not be started.
  [[nodiscard]] bool start(const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment,
                           const std::filesystem::path& errorLog = {});
  /// Returns the next line the program writes, without its newline, once it is complete;
  /// nothing when `deadline` passed first or the program closed its output.
  [[nodiscard]] std::optional<std::string> nextLine(std::chrono::milliseconds deadline);
  /// Returns everything the program writes until it closes its output.
  [[nodiscard]] std::string remainingOutput();
  /// Waits for the program to end and returns its exit status, or -1 when it was killed.
  [[nodiscard]] int wait();
  /// Ends the program: SIGTERM, then SIGKILL after `deadline`, and waits for it.
  void stop(std::chrono::milliseconds deadline = std::chrono::seconds(5));

  /// Returns why start() failed.
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  [[nodiscard]] bool readMore(int timeoutMilliseconds);
  void closeOutput();

  pid_t pid_ = 0;
  int output_ = -1;
  std::string pending_;
  std::string error_;
};

/// What a program run to its end left behind.
struct CommandResult {
  /// The exit status, or -1 when the program could not be started or was killed.
  int status = -1;
  std::string output;
};

/// Runs `arguments` with exactly `environment` to its end, its standard error going to the
/// test's own.
[[nodiscard]] CommandResult runCommand(const std::vector<std::string>& arguments,
                                       const std::vector<std::string>& environment);

}  // namespace yakdrom::testing
