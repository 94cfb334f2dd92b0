// `yakdrom uninstall [--system] [--root DIR] [--package]`: removes what scripts/install.sh
// installed, exactly as its manifest lists it, and has IBus forget the engine. The settings
// window runs it as root through pkexec for the system-wide copy, so it needs no display.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "engine/store/UserFolders.h"
#include "frontends/cli/Commands.h"
#include "ime/platform/InstallLayout.h"
#include "ime/platform/InstallManifest.h"

namespace yakdrom::cli {
namespace {

constexpr int kUsage = 2;
constexpr int kFailure = 1;
constexpr std::string_view kUsageLine =
    "usage: yakdrom uninstall [--system] [--root DIR] [--package]";

struct Options {
  bool system = false;
  bool package = false;
  std::optional<std::string> root;
};

struct Flag {
  std::string_view name;
  bool Options::*field;
};

constexpr Flag kFlags[] = {{"--system", &Options::system}, {"--package", &Options::package}};

std::optional<Options> parse(const Args& args, std::ostream& err) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto* flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                    [&](const Flag& f) { return f.name == args[i]; });
    if (flag != std::end(kFlags)) {
      options.*(flag->field) = true;
    } else if (args[i] == "--root" && i + 1 < args.size()) {
      options.root = args[++i];
    } else {
      err << "yakdrom uninstall: unexpected argument \"" << args[i] << "\"\n" << kUsageLine << "\n";
      return std::nullopt;
    }
  }
  if (options.root && !options.system) {
    err << "yakdrom uninstall: --root applies to --system\n" << kUsageLine << "\n";
    return std::nullopt;
  }
  return options;
}

// Runs `argv` (the program found on PATH, as pkexec gives root a fixed one) and returns its
// exit status, or the reason it could not start.
std::variant<int, std::string> runProgram(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  pid_t child = 0;
  const int error = ::posix_spawnp(&child, pointers[0], nullptr, nullptr, pointers.data(), environ);
  if (error != 0) return std::generic_category().message(error);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return std::generic_category().message(errno);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool removeInstall(const InstallLayout& layout, std::ostream& out, std::ostream& err) {
  const auto manifest = InstallManifest::read(layout.manifest());
  if (!manifest) {
    if (manifest.error().code == std::errc::no_such_file_or_directory) {
      out << "nothing to remove: " << InstallManifest::escape(layout.manifest().string())
          << " does not exist\n";
      return true;
    }
    err << "yakdrom uninstall: " << manifest.error().message() << "\n";
    return false;
  }
  const RemovalResult result = manifest.value().removeListed(layout.roots);
  // Escaped as in the manifest, so a line feed in a path cannot pass for a second path.
  for (const std::string& path : result.removed)
    out << "removed " << InstallManifest::escape(path) << "\n";
  for (const RemovalFailure& failure : result.failed) {
    err << "yakdrom uninstall: cannot remove " << InstallManifest::escape(failure.path) << ": "
        << failure.reason << "\n";
  }
  return result.failed.empty();
}

bool removePackage(std::ostream& out, std::ostream& err) {
  std::vector<std::string> argv{"dpkg", "--remove"};
  argv.insert(argv.end(), kDebianPackages.begin(), kDebianPackages.end());
  const auto status = runProgram(argv);
  if (const auto* reason = std::get_if<std::string>(&status)) {
    err << "yakdrom uninstall: cannot run dpkg: " << *reason << "\n";
    return false;
  }
  if (std::get<int>(status) != 0) {
    err << "yakdrom uninstall: dpkg --remove exited with " << std::get<int>(status) << "\n";
    return false;
  }
  out << "removed the Debian packages\n";
  return true;
}

bool hasUserRegistry() {
  std::error_code ignored;
  return std::filesystem::exists(InstallLayout::ibusUserRegistry(UserFolders::cacheHome()),
                                 ignored);
}

// A system without IBus has no registry to refresh; a failed refresh only delays the
// engine's disappearance from the list to the next login.
void refreshIBus(bool system, std::ostream& err) {
  if (!system && !hasUserRegistry()) return;
  std::vector<std::string> argv{"ibus", "write-cache"};
  if (system) argv.emplace_back("--system");
  const auto status = runProgram(argv);
  if (const auto* code = std::get_if<int>(&status); code != nullptr && *code != 0) {
    err << "yakdrom uninstall: ibus write-cache exited with " << *code
        << "; the input method list changes at the next login\n";
  }
}

std::optional<InstallLayout> layoutFor(const Options& options, std::ostream& err) {
  if (options.system) return InstallLayout::systemWide(options.root.value_or("/"));
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    err << "yakdrom uninstall: HOME is not set\n";
    return std::nullopt;
  }
  return InstallLayout::perUser(home);
}

}  // namespace

int runUninstall(const Args& args, std::ostream& out, std::ostream& err) {
  const auto options = parse(args, err);
  if (!options) return kUsage;
  const auto layout = layoutFor(*options, err);
  if (!layout) return kFailure;
  bool ok = removeInstall(*layout, out, err);
  if (options->package) ok = removePackage(out, err) && ok;
  refreshIBus(options->system, err);
  return ok ? 0 : kFailure;
}

}  // namespace yakdrom::cli
