#include "engine/store/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace yakdrom::UserFolders {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderName = "Yakdrom";

// HOME first, as every XDG program does; the password database when it is unset.
fs::path homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  std::error_code ignored;
  return fs::current_path(ignored);
}

// The XDG rules ignore a relative value.
fs::path xdgFolder(const char* variable, const fs::path& fallbackUnderHome) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return value;
  }
  return homeFolder() / fallbackUnderHome;
}

fs::path base(const char* variable, const fs::path& fallbackUnderHome) {
  return xdgFolder(variable, fallbackUnderHome) / kFolderName;
}

}  // namespace

fs::path config() { return base("XDG_CONFIG_HOME", ".config"); }
fs::path data() { return base("XDG_DATA_HOME", fs::path(".local") / "share"); }
fs::path state() { return base("XDG_STATE_HOME", fs::path(".local") / "state"); }
fs::path cacheHome() { return xdgFolder("XDG_CACHE_HOME", ".cache"); }

}  // namespace yakdrom::UserFolders
