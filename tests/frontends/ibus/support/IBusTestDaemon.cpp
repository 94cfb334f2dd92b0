#include "frontends/ibus/support/IBusTestDaemon.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
constexpr const char* kAddressKey = "IBUS_ADDRESS=";
// The daemon writes its pid after the address, so a file holding it is complete.
constexpr const char* kPidKey = "IBUS_DAEMON_PID=";

// Variables of the test process that would lead the daemon or its engines to the user's
// desktop, bus or settings; the daemon gets its own instead.
constexpr const char* kWithheld[] = {
    "DISPLAY",           "WAYLAND_DISPLAY",     "DBUS_SESSION_BUS_ADDRESS", "IBUS_ADDRESS",
    "IBUS_ADDRESS_FILE", "IBUS_COMPONENT_PATH", "XDG_CONFIG_HOME",          "XDG_CACHE_HOME",
    "XDG_RUNTIME_DIR",   "QT_QPA_PLATFORM",     "XDG_SESSION_TYPE",         "QT_IM_MODULE",
    "GTK_IM_MODULE",     "XMODIFIERS"};

constexpr const char* kArguments[] = {"ibus-daemon", "--single", "--cache=none", "--panel=disable",
                                      "--emoji-extension=disable"};

std::string variableName(const std::string& entry) { return entry.substr(0, entry.find('=')); }

bool isWithheld(const std::string& name) {
  return std::any_of(std::begin(kWithheld), std::end(kWithheld),
                     [&](const char* withheld) { return name == withheld; });
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

std::string valueAfter(const std::string& text, const std::string& key) {
  const std::size_t start = text.find(key);
  if (start == std::string::npos) return {};
  const std::size_t from = start + key.size();
  return text.substr(from, text.find('\n', from) - from);
}

std::vector<pid_t> childrenOf(pid_t parent) {
  std::vector<pid_t> pids;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path("/proc") / std::to_string(parent) / "task", ec), end;
       !ec && it != end; it.increment(ec)) {
    std::ifstream in(it->path() / "children");
    for (pid_t pid = 0; in >> pid;) pids.push_back(pid);
  }
  return pids;
}

}  // namespace

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

std::optional<fs::path> ibusDaemonProgram() { return programOnPath("ibus-daemon"); }

IBusTestDaemon::~IBusTestDaemon() {
  stop();
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
}

bool IBusTestDaemon::start(const IBusDaemonOptions& options) {
  if (pid_ != 0) {
    fail("the daemon is already running");
    return false;
  }
  return makeFolders() && spawn(environment(options)) && waitForAddress(options.startDeadline);
}

bool IBusTestDaemon::makeFolders() {
  std::string pattern = (fs::temp_directory_path() / "yakdrom-ibus-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    fail("cannot create a folder for the daemon: " + std::string(std::strerror(errno)));
    return false;
  }
  root_ = pattern;
  std::error_code ec;
  for (const char* name : {"config", "cache", "runtime"}) fs::create_directory(root_ / name, ec);
  // Programs refuse a runtime folder that others can read.
  fs::permissions(root_ / "runtime", fs::perms::owner_all, ec);
  if (ec) fail("cannot prepare the daemon's folders: " + ec.message());
  return !ec;
}

std::vector<std::string> IBusTestDaemon::environment(const IBusDaemonOptions& options) const {
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    if (!isWithheld(variableName(*e))) entries.emplace_back(*e);
  }
  assign(entries, "XDG_CONFIG_HOME", configHome().string());
  assign(entries, "XDG_CACHE_HOME", (root_ / "cache").string());
  assign(entries, "XDG_RUNTIME_DIR", (root_ / "runtime").string());
  assign(entries, "IBUS_ADDRESS_FILE", (root_ / "address").string());
  assign(entries, "IBUS_COMPONENT_PATH", options.componentFolder.string());
  // No session bus at all: nothing the daemon starts can reach the user's.
  assign(entries, "DBUS_SESSION_BUS_ADDRESS", "disabled:");
  if (options.display) {
    assign(entries, "DISPLAY", *options.display);
  } else {
    assign(entries, "QT_QPA_PLATFORM", "offscreen");
  }
  for (const auto& [name, value] : options.environment) assign(entries, name, value);
  return entries;
}

bool IBusTestDaemon::spawn(const std::vector<std::string>& environment) {
  const auto program = ibusDaemonProgram();
  if (!program) {
    fail("ibus-daemon is not installed");
    return false;
  }
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  std::vector<char*> argv;
  for (const char* argument : kArguments) argv.push_back(const_cast<char*>(argument));
  argv.push_back(nullptr);

  const std::string logPath = (root_ / "daemon.log").string();
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, logPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
  const int status =
      ::posix_spawn(&pid_, program->c_str(), &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  if (status != 0) {
    pid_ = 0;
    fail("cannot start " + program->string() + ": " + std::strerror(status));
  }
  return status == 0;
}

bool IBusTestDaemon::waitForAddress(std::chrono::milliseconds deadline) {
  const auto until = Clock::now() + deadline;
  while (Clock::now() < until) {
    if (reap()) {
      fail("ibus-daemon exited before publishing its address");
      return false;
    }
    const std::string text = readFile(root_ / "address");
    if (!valueAfter(text, kPidKey).empty()) {
      address_ = valueAfter(text, kAddressKey);
      return true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  fail("ibus-daemon did not publish its address within " + std::to_string(deadline.count()) +
       " ms");
  stop();
  return false;
}

bool IBusTestDaemon::reap() {
  if (pid_ == 0) return true;
  int status = 0;
  const pid_t result = ::waitpid(pid_, &status, WNOHANG);
  if (result == 0) return false;
  pid_ = 0;
  return true;
}

void IBusTestDaemon::stop(std::chrono::milliseconds deadline) {
  if (pid_ == 0) return;
  const std::vector<pid_t> engines = children();
  ::kill(pid_, SIGTERM);
  const auto until = Clock::now() + deadline;
  while (!reap() && Clock::now() < until) std::this_thread::sleep_for(kPollInterval);
  if (pid_ != 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }
  // The engines quit when their connection closes; waiting for them keeps one test's engine
  // from still writing while the next test starts.
  const auto alive = [](pid_t pid) { return processAlive(pid); };
  while (std::any_of(engines.begin(), engines.end(), alive) && Clock::now() < until) {
    std::this_thread::sleep_for(kPollInterval);
  }
}

bool IBusTestDaemon::running() const { return pid_ != 0 && processAlive(pid_); }

std::vector<pid_t> IBusTestDaemon::children() const {
  return pid_ == 0 ? std::vector<pid_t>{} : childrenOf(pid_);
}

std::string IBusTestDaemon::log() const {
  return root_.empty() ? "" : readFile(root_ / "daemon.log");
}

void IBusTestDaemon::fail(const std::string& reason) {
  error_ = reason;
  const std::string written = log();
  if (!written.empty()) error_ += "; it wrote:\n" + written;
}

}  // namespace yakdrom::testing
