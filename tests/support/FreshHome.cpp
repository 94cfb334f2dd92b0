#include "support/FreshHome.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kLeftoversStatus = 3;
constexpr const char* kHomeVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                          "XDG_STATE_HOME", "XDG_CACHE_HOME"};

bool isTolerated(const fs::path& relative, std::initializer_list<std::string_view> tolerated) {
  const std::string top = relative.begin()->string();
  return std::find(tolerated.begin(), tolerated.end(), top) != tolerated.end();
}

}  // namespace

FreshHome::FreshHome() {
  std::string pattern = (fs::temp_directory_path() / "yakdrom-home-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::cerr << "cannot create the tests' home folder " << pattern << "\n";
    return;
  }
  folder_ = pattern;
  for (const char* name : kHomeVariables) ::setenv(name, folder_.c_str(), 1);
}

FreshHome::~FreshHome() {
  std::error_code ignored;
  if (created()) fs::remove_all(folder_, ignored);
}

int FreshHome::verdict(int status, std::initializer_list<std::string_view> tolerated) const {
  std::vector<std::string> leftovers;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path relative = fs::relative(it->path(), folder_);
    if (!isTolerated(relative, tolerated)) leftovers.push_back(relative.string());
  }
  if (leftovers.empty()) return status;
  std::cerr << "FAILED: the tests wrote into $HOME or an XDG folder (a test that needs a home "
               "sets its own):\n";
  for (const std::string& path : leftovers) std::cerr << "  " << path << "\n";
  return kLeftoversStatus;
}

}  // namespace yakdrom::testing
