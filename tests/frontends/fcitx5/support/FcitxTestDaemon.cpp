#include "frontends/fcitx5/support/FcitxTestDaemon.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <signal.h>
#include <spawn.h>
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

constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr int kCallTimeoutMs = 2'000;
constexpr const char* kService = "org.fcitx.Fcitx5";
constexpr const char* kControllerPath = "/controller";
constexpr const char* kController = "org.fcitx.Fcitx.Controller1";
constexpr const char* kRequiredAddons = "dbus,dbusfrontend,keyboard";

// A session bus that owns no service folders: a call to a name nobody holds fails instead
// of starting the program some package registered for it.
constexpr const char* kBusConfiguration = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=@FOLDER@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// Variables of the test process that would lead the daemon to the user's desktop, bus,
// settings or addons; the daemon gets its own instead.
constexpr std::string_view kWithheld[] = {"DISPLAY",
                                          "WAYLAND_DISPLAY",
                                          "DBUS_SESSION_BUS_ADDRESS",
                                          "XDG_CONFIG_HOME",
                                          "XDG_DATA_HOME",
                                          "XDG_CACHE_HOME",
                                          "XDG_RUNTIME_DIR",
                                          "HOME",
                                          "FCITX_ADDON_DIRS",
                                          "FCITX_DATA_DIRS",
                                          "FCITX_CONFIG_HOME",
                                          "XDG_SESSION_TYPE",
                                          "QT_IM_MODULE",
                                          "GTK_IM_MODULE",
                                          "XMODIFIERS"};

std::string replaced(std::string text, const std::string& token, const std::string& value) {
  text.replace(text.find(token), token.size(), value);
  return text;
}

std::string enabledAddons(const FcitxDaemonOptions& options) {
  std::string list = kRequiredAddons;
  for (const std::string& addon : options.addons) list += "," + addon;
  return list;
}

}  // namespace

std::optional<fs::path> fcitxProgram() { return programOnPath("fcitx5"); }

std::optional<fs::path> busProgram() { return programOnPath("dbus-daemon"); }

fs::path systemAddonFolder() { return YAKDROM_FCITX5_SYSTEM_ADDON_DIR; }

// The daemon's data sits under the prefix it is installed in: /usr/bin/fcitx5 reads
// /usr/share/fcitx5.
fs::path systemDataFolder() {
  const auto program = fcitxProgram();
  return program ? program->parent_path().parent_path() / "share" / "fcitx5" : fs::path();
}

FcitxTestDaemon::~FcitxTestDaemon() {
  stop();
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
}

bool FcitxTestDaemon::prepare() {
  if (!root_.empty()) return true;
  std::string pattern = (fs::temp_directory_path() / "yakdrom-fcitx-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    fail("cannot create a folder for the daemon: " + std::string(std::strerror(errno)));
    return false;
  }
  root_ = pattern;
  std::error_code ec;
  for (const char* name : {"home", "config", "data", "cache", "runtime", "bus"}) {
    fs::create_directory(root_ / name, ec);
  }
  // Programs refuse a runtime folder that others can read.
  fs::permissions(root_ / "runtime", fs::perms::owner_all, ec);
  std::ofstream(root_ / "bus.conf")
      << replaced(kBusConfiguration, "@FOLDER@", (root_ / "bus").string());
  if (ec) fail("cannot prepare the daemon's folders: " + ec.message());
  return !ec;
}

bool FcitxTestDaemon::start(const FcitxDaemonOptions& options) {
  if (daemon_.pid() != 0) {
    fail("the daemon is already running");
    return false;
  }
  if (!prepare()) return false;
  std::vector<std::string> entries = environment(options);
  if (!startBus(entries, options.startDeadline)) return false;
  assign(entries, "DBUS_SESSION_BUS_ADDRESS", address_);
  return spawn(options, entries) && waitUntilReady(options.startDeadline);
}

std::vector<std::string> FcitxTestDaemon::environment(const FcitxDaemonOptions& options) const {
  std::vector<std::string> entries = environmentWithout(kWithheld);
  assign(entries, "HOME", home().string());
  assign(entries, "XDG_CONFIG_HOME", configHome().string());
  assign(entries, "XDG_DATA_HOME", dataHome().string());
  assign(entries, "XDG_CACHE_HOME", (root_ / "cache").string());
  assign(entries, "XDG_RUNTIME_DIR", (root_ / "runtime").string());
  for (const auto& [name, value] : options.environment) assign(entries, name, value);
  return entries;
}

bool FcitxTestDaemon::startBus(const std::vector<std::string>& environment,
                               std::chrono::milliseconds deadline) {
  const auto program = busProgram();
  if (!program) {
    fail("dbus-daemon is not installed");
    return false;
  }
  const std::vector<std::string> arguments = {program->string(),
                                              "--config-file=" + (root_ / "bus.conf").string(),
                                              "--print-address=1", "--nofork"};
  if (!bus_.start(arguments, environment, root_ / "bus.log")) {
    fail(bus_.error());
    return false;
  }
  address_ = bus_.nextLine(deadline).value_or("");
  GError* error = nullptr;
  if (!address_.empty()) {
    connection_ = g_dbus_connection_new_for_address_sync(
        address_.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
  }
  if (connection_ == nullptr) {
    fail("the private bus did not come up: " + readFile(root_ / "bus.log") +
         (error != nullptr ? error->message : ""));
    g_clear_error(&error);
    bus_.stop();
    return false;
  }
  return true;
}

bool FcitxTestDaemon::spawn(const FcitxDaemonOptions& options,
                            const std::vector<std::string>& environment) {
  const auto program = fcitxProgram();
  if (!program) {
    fail("fcitx5 is not installed");
    return false;
  }
  // -D keeps the daemon in the foreground, so its pid is the one we started.
  const std::vector<std::string> arguments = {program->string(), "-D", "--disable=all",
                                              "--enable=" + enabledAddons(options)};
  if (daemon_.start(*program, arguments, environment, root_ / "fcitx5.log")) return true;
  fail(daemon_.error());
  return false;
}

// Owning its name is not enough: the daemon takes it before its addons are loaded, and
// only answers the controller once they are.
bool FcitxTestDaemon::waitUntilReady(std::chrono::milliseconds deadline) {
  const auto until = Clock::now() + deadline;
  while (Clock::now() < until) {
    if (daemon_.exited()) {
      fail("fcitx5 exited before it was ready");
      stop();
      return false;
    }
    if (answers()) return true;
    std::this_thread::sleep_for(kPollInterval);
  }
  fail("fcitx5 was not ready within " + std::to_string(deadline.count()) + " ms");
  stop();
  return false;
}

bool FcitxTestDaemon::answers() {
  GVariant* owner = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "GetNameOwner", g_variant_new("(s)", kService));
  if (owner == nullptr) return false;
  g_variant_unref(owner);
  GVariant* current = call(kService, kControllerPath, kController, "CurrentInputMethod", nullptr);
  if (current != nullptr) g_variant_unref(current);
  return current != nullptr;
}

GVariant* FcitxTestDaemon::call(const char* service, const char* path, const char* interface,
                                const char* method, GVariant* parameters) {
  if (connection_ == nullptr) {
    if (parameters != nullptr) g_variant_unref(g_variant_ref_sink(parameters));
    return nullptr;
  }
  return g_dbus_connection_call_sync(connection_, service, path, interface, method, parameters,
                                     nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs,
                                     nullptr, nullptr);
}

void FcitxTestDaemon::stop(std::chrono::milliseconds deadline) {
  if (daemon_.pid() != 0) {
    // Exit lets the daemon save its state and unload the addons as on a logout.
    GVariant* exited = call(kService, kControllerPath, kController, "Exit", nullptr);
    if (exited != nullptr) g_variant_unref(exited);
    if (!daemon_.waitForExit(deadline)) daemon_.kill(deadline);
  }
  if (connection_ != nullptr) {
    g_dbus_connection_close_sync(connection_, nullptr, nullptr);
    g_clear_object(&connection_);
  }
  bus_.stop(deadline);
}

std::string FcitxTestDaemon::log() const {
  return root_.empty() ? "" : readFile(root_ / "fcitx5.log");
}

void FcitxTestDaemon::fail(const std::string& reason) {
  error_ = reason;
  const std::string written = log();
  if (!written.empty()) error_ += "; it wrote:\n" + written;
}

}  // namespace yakdrom::testing
