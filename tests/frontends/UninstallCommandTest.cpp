#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "frontends/CommandRun.h"
#include "ime/platform/InstallManifest.h"
#include "support/ListedInstall.h"
#include "support/StandInPrograms.h"

namespace yakdrom::cli {
namespace {

namespace fs = std::filesystem;
using testing::Outcome;
using yakdrom::testing::Call;
using yakdrom::testing::StandInPrograms;
using yakdrom::testing::TemporaryFolder;
using yakdrom::testing::writeBytes;

// Sets a variable for the test and gives the old value back after it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class UninstallCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder_ / "tools");
    tools_.add("ibus", "");
    tools_.add("dpkg", "");
  }

  TemporaryFolder folder_;
  StandInPrograms tools_{folder_ / "tools"};
  ScopedVariable path_{"PATH", (folder_ / "tools").string() + ":" + std::getenv("PATH")};
};

TEST_F(UninstallCommandTest, RemovesThisUsersInstallAndPrintsEachPathEscaped) {
  const fs::path home = folder_ / "a 'home'\nof \"mine\"";
  const ScopedVariable homeVariable("HOME", home.string());
  const ScopedVariable cacheVariable("XDG_CACHE_HOME", (home / ".cache").string());
  fs::create_directories(home / ".cache/ibus/bus");
  writeBytes(home / ".cache/ibus/bus/registry", "");
  const InstallLayout layout = InstallLayout::perUser(home);
  const fs::path component = home / ".local/share/ibus/component/yakdrom.xml";
  yakdrom::testing::layOutInstall(layout, component);
  writeBytes(layout.bundle / "notes.txt", "mine");

  const Outcome outcome = testing::run({"uninstall"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const std::string bundle = InstallManifest::escape(layout.bundle.string());
  EXPECT_EQ(outcome.out, "removed " + bundle + "/bin/yakdrom-ibus\n" + "removed " +
                             InstallManifest::escape(component.string()) + "\n" + "removed " +
                             bundle + "/install-manifest.txt\n" + "removed " + bundle + "/bin/\n");
  EXPECT_EQ(bundle.find('\n'), std::string::npos);
  EXPECT_EQ(yakdrom::testing::readBytes(layout.bundle / "notes.txt"), "mine");
  EXPECT_EQ(tools_.calls(), (std::vector<Call>{{"ibus", "write-cache"}}));
}

TEST_F(UninstallCommandTest, SystemCopyUnderARootWithThePackage) {
  const fs::path root = folder_ / "root\nwith 'quotes'";
  const InstallLayout layout = InstallLayout::systemWide(root);
  yakdrom::testing::layOutInstall(layout, root / "usr/share/ibus/component/yakdrom.xml");

  const Outcome outcome =
      testing::run({"uninstall", "--system", "--root", root.string(), "--package"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_FALSE(fs::exists(layout.bundle));
  EXPECT_FALSE(fs::exists(root / "usr/share/ibus/component/yakdrom.xml"));
  EXPECT_NE(outcome.out.find("removed the Debian packages\n"), std::string::npos);
  EXPECT_EQ(tools_.calls(), (std::vector<Call>{{"dpkg", "--remove", "yakdrom-fcitx5", "yakdrom"},
                                               {"ibus", "write-cache", "--system"}}));
}

TEST_F(UninstallCommandTest, NothingInstalledIsNoFailure) {
  const ScopedVariable homeVariable("HOME", (folder_ / "empty home").string());
  const Outcome outcome = testing::run({"uninstall"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_TRUE(tools_.calls().empty()) << "a home without an IBus registry got one";
  EXPECT_EQ(outcome.out, "nothing to remove: " + (folder_ / "empty home").string() +
                             "/.local/lib/yakdrom/install-manifest.txt does not exist\n");
}

TEST_F(UninstallCommandTest, FailuresAndUsageErrorsAreReported) {
  tools_.add("dpkg", "exit 3");
  const fs::path root = folder_ / "root";
  fs::create_directories(root / "usr/local/lib/yakdrom/bin/yakdrom-ibus");
  writeBytes(InstallLayout::systemWide(root).manifest(),
             (root / "usr/local/lib/yakdrom/bin/yakdrom-ibus").string() + "\n");
  const Outcome failed =
      testing::run({"uninstall", "--system", "--root", root.string(), "--package"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, "yakdrom uninstall: cannot remove " + root.string() +
                            "/usr/local/lib/yakdrom/bin/yakdrom-ibus: Is a directory\n"
                            "yakdrom uninstall: dpkg --remove exited with 3\n");

  for (const Args& args : {Args{"uninstall", "--root", "/x"}, Args{"uninstall", "--user"},
                           Args{"uninstall", "--system", "--root"}}) {
    SCOPED_TRACE(args.back());
    const Outcome usage = testing::run(args);
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("usage: yakdrom uninstall"), std::string::npos);
  }
}

}  // namespace
}  // namespace yakdrom::cli
