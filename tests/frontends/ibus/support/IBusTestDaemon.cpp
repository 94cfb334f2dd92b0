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
constexpr std::string_view kWithheld[] = {
    "DISPLAY",           "WAYLAND_DISPLAY",     "DBUS_SESSION_BUS_ADDRESS", "IBUS_ADDRESS",
    "IBUS_ADDRESS_FILE", "IBUS_COMPONENT_PATH", "XDG_CONFIG_HOME",          "XDG_CACHE_HOME",
    "XDG_RUNTIME_DIR",   "QT_QPA_PLATFORM",     "XDG_SESSION_TYPE",         "QT_IM_MODULE",
    "GTK_IM_MODULE",     "XMODIFIERS"};

constexpr const char* kArguments[] = {"ibus-daemon", "--single", "--cache=none", "--panel=disable",
                                      "--emoji-extension=disable"};

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

std::optional<fs::path> ibusDaemonProgram() { return programOnPath("ibus-daemon"); }

IBusTestDaemon::~IBusTestDaemon() {
  stop();
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
}

bool IBusTestDaemon::start(const IBusDaemonOptions& options) {
  if (daemon_.pid() != 0) {
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
  std::vector<std::string> entries = environmentWithout(kWithheld);
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
  const std::vector<std::string> arguments(std::begin(kArguments), std::end(kArguments));
  if (daemon_.start(*program, arguments, environment, root_ / "daemon.log")) return true;
  fail(daemon_.error());
  return false;
}

bool IBusTestDaemon::waitForAddress(std::chrono::milliseconds deadline) {
  const auto until = Clock::now() + deadline;
  while (Clock::now() < until) {
    if (daemon_.exited()) {
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

void IBusTestDaemon::stop(std::chrono::milliseconds deadline) {
  if (daemon_.pid() == 0) return;
  const std::vector<pid_t> engines = children();
  daemon_.kill(deadline);
  // The engines quit when their connection closes; waiting for them keeps one test's engine
  // from still writing while the next test starts.
  const auto until = Clock::now() + deadline;
  const auto alive = [](pid_t pid) { return processAlive(pid); };
  while (std::any_of(engines.begin(), engines.end(), alive) && Clock::now() < until) {
    std::this_thread::sleep_for(kPollInterval);
  }
}

std::vector<pid_t> IBusTestDaemon::children() const {
  return daemon_.pid() == 0 ? std::vector<pid_t>{} : childrenOf(daemon_.pid());
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
