// The main of every test program. The tests run with HOME and the XDG folders pointing at
// a fresh empty folder, and the run fails when anything appeared there: no test may read
// or write the user's own settings, dictionary or caches. A test that needs a home makes
// its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kLeftoversStatus = 3;
constexpr const char* kHomeVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                          "XDG_STATE_HOME", "XDG_CACHE_HOME"};

std::vector<std::string> contentsOf(const fs::path& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    found.push_back(fs::relative(it->path(), folder).string());
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::string pattern = (fs::temp_directory_path() / "yakdrom-home-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::cerr << "cannot create the tests' home folder " << pattern << "\n";
    return EXIT_FAILURE;
  }
  const fs::path home = pattern;
  for (const char* name : kHomeVariables) ::setenv(name, home.c_str(), 1);
  const int status = RUN_ALL_TESTS();
  const std::vector<std::string> leftovers = contentsOf(home);
  std::error_code ignored;
  fs::remove_all(home, ignored);
  if (leftovers.empty()) return status;
  std::cerr << "FAILED: the tests wrote into $HOME or an XDG folder (a test that needs a home "
               "sets its own):\n";
  for (const std::string& path : leftovers) std::cerr << "  " << path << "\n";
  return kLeftoversStatus;
}
