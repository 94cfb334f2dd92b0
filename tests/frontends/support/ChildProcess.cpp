#include "frontends/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

namespace yakdrom::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(2);

std::vector<char*> pointersTo(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

int exitStatusOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::start(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment,
                         const std::filesystem::path& errorLog) {
  int pipe[2];
  if (arguments.empty() || ::pipe2(pipe, O_CLOEXEC) != 0) {
    error_ = "cannot make a pipe for the program's output";
    return false;
  }
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&files, pipe[1], STDOUT_FILENO);
  if (!errorLog.empty()) {
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errorLog.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
  }
  const std::vector<char*> argv = pointersTo(arguments);
  const std::vector<char*> envp = pointersTo(environment);
  const int status =
      ::posix_spawnp(&pid_, arguments.front().c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  ::close(pipe[1]);
  output_ = pipe[0];
  if (status != 0) {
    pid_ = 0;
    closeOutput();
    error_ = "cannot start " + arguments.front() + ": " + std::strerror(status);
  }
  return status == 0;
}

std::optional<std::string> ChildProcess::nextLine(std::chrono::milliseconds deadline) {
  const auto until = Clock::now() + deadline;
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (output_ < 0 || left.count() <= 0 || !readMore(static_cast<int>(left.count()))) {
      return std::nullopt;
    }
  }
}

std::string ChildProcess::remainingOutput() {
  while (output_ >= 0) (void)readMore(-1);
  return std::exchange(pending_, {});
}

// Returns false once the output is closed; a timeout with nothing read is no failure.
bool ChildProcess::readMore(int timeoutMilliseconds) {
  pollfd ready{output_, POLLIN, 0};
  const int polled = ::poll(&ready, 1, timeoutMilliseconds);
  if (polled < 0 && errno == EINTR) return true;
  if (polled == 0) return true;
  char buffer[4096];
  const ssize_t n = polled > 0 ? ::read(output_, buffer, sizeof buffer) : -1;
  if (n < 0 && errno == EINTR) return true;
  if (n <= 0) {
    closeOutput();
    return false;
  }
  pending_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

int ChildProcess::wait() {
  if (pid_ == 0) return -1;
  int status = 0;
  pid_t result = 0;
  do {
    result = ::waitpid(pid_, &status, 0);
  } while (result < 0 && errno == EINTR);
  pid_ = 0;
  return result < 0 ? -1 : exitStatusOf(status);
}

void ChildProcess::stop(std::chrono::milliseconds deadline) {
  closeOutput();
  if (pid_ == 0) return;
  ::kill(pid_, SIGTERM);
  const auto until = Clock::now() + deadline;
  bool reaped = false;
  while (!(reaped = ::waitpid(pid_, nullptr, WNOHANG) != 0) && Clock::now() < until) {
    std::this_thread::sleep_for(kPollInterval);
  }
  if (!reaped) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_ = 0;
}

void ChildProcess::closeOutput() {
  if (output_ >= 0) ::close(output_);
  output_ = -1;
}

CommandResult runCommand(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
  ChildProcess program;
  if (!program.start(arguments, environment)) return {-1, program.error()};
  std::string output = program.remainingOutput();
  return {program.wait(), std::move(output)};
}

}  // namespace yakdrom::testing
