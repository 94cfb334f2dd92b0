#include "frontends/support/DaemonProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(2);

std::string variableName(const std::string& entry) { return entry.substr(0, entry.find('=')); }

std::vector<char*> pointersTo(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::vector<std::string> environmentWithout(std::span<const std::string_view> withheld) {
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string name = variableName(*e);
    if (std::find(withheld.begin(), withheld.end(), name) == withheld.end()) {
      entries.emplace_back(*e);
    }
  }
  return entries;
}

void assign(std::vector<std::string>& entries, const std::string& name, const std::string& value) {
  std::erase_if(entries, [&](const std::string& e) { return variableName(e) == name; });
  entries.push_back(name + "=" + value);
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool processAlive(pid_t pid) {
  std::ifstream stat(fs::path("/proc") / std::to_string(pid) / "stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  // The state follows the command name, which is in parentheses and may hold spaces.
  const std::size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

std::optional<fs::path> programOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const fs::path candidate = fs::path(folder) / name;
    if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

bool DaemonProcess::start(const fs::path& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, const fs::path& log) {
  std::vector<char*> argv = pointersTo(arguments);
  std::vector<char*> envp = pointersTo(environment);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
  const int status =
      ::posix_spawn(&pid_, program.c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  if (status != 0) {
    pid_ = 0;
    error_ = "cannot start " + program.string() + ": " + std::strerror(status);
  }
  return status == 0;
}

bool DaemonProcess::exited() {
  if (pid_ == 0) return true;
  if (::waitpid(pid_, nullptr, WNOHANG) == 0) return false;
  pid_ = 0;
  return true;
}

bool DaemonProcess::waitForExit(std::chrono::milliseconds deadline) {
  const auto until = Clock::now() + deadline;
  while (!exited() && Clock::now() < until) std::this_thread::sleep_for(kPollInterval);
  return pid_ == 0;
}

void DaemonProcess::kill(std::chrono::milliseconds deadline) {
  if (pid_ == 0) return;
  ::kill(pid_, SIGTERM);
  if (waitForExit(deadline)) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = 0;
}

}  // namespace yakdrom::testing
