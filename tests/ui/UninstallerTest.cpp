#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/platform/InstallLayout.h"
#include "support/ListedInstall.h"
#include "support/StandInPrograms.h"
#include "ui/Uninstaller.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;
using testing::Call;
using testing::layOutInstall;
using testing::shellQuoted;
using testing::StandInPrograms;
using testing::TemporaryFolder;

constexpr const char* kRemovedText =
    "\n\n已清除安装记录。请注销并重新登录，输入法列表中的条目才会彻底消失。";

// A home and a system root whose paths hold spaces, quotes and line feeds, the stand-in
// programs, and a Debian package that is installed while its status file exists.
class UninstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const fs::path& folder : {home_, root_, tools_.folder()}) fs::create_directories(folder);
    // This user has run IBus, so the user's registry is there to refresh.
    const fs::path registry = InstallLayout::ibusUserRegistry(home_ / ".cache");
    fs::create_directories(registry.parent_path());
    testing::writeBytes(registry, "");
    const std::string status = shellQuoted((folder_ / "package-installed").string());
    tools_.add("ibus", "");
    tools_.add("dpkg", "rm -f " + status);
    tools_.add("dpkg-query", "[ -e " + status +
                                 " ] || exit 1\n"
                                 "printf 'install ok installed'");
    runAsRoot();
  }

  // The folders installSystemCopy() closed, opened again so the temporary folder goes.
  void TearDown() override {
    std::error_code ignored;
    for (const fs::path& folder : writeProtected()) {
      fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add, ignored);
    }
  }

  [[nodiscard]] std::vector<fs::path> writeProtected() const {
    return {system_.bundle / "bin", system_.bundle, root_ / "usr/share/ibus/component"};
  }

  // pkexec as the test plays it: root may write anywhere, and runs with a PATH of its own.
  void runAsRoot() const {
    tools_.add("pkexec", "chmod -R u+w " + shellQuoted(root_.string()) + "\nPATH=" +
                             shellQuoted(tools_.folder().string()) + ":$PATH exec \"$@\"");
  }
  void cancelThePrompt() const { tools_.add("pkexec", "exit 126"); }
  void installPackage() const { testing::writeBytes(folder_ / "package-installed", ""); }

  // The system copy as root left it: its own yakdrom, which pkexec runs, and folders this
  // user may not write to.
  void installSystemCopy() const {
    layOutInstall(system_, root_ / "usr/share/ibus/component/yakdrom.xml",
                  {{"yakdrom", YAKDROM_EXECUTABLE}});
    for (const fs::path& folder : writeProtected()) {
      fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    }
  }

  [[nodiscard]] UninstallReport run() {
    UninstallPlaces places;
    places.home = home_;
    places.systemRoot = root_;
    for (auto [field, name] : {std::pair{&UninstallPlaces::pkexec, "pkexec"},
                               {&UninstallPlaces::ibus, "ibus"},
                               {&UninstallPlaces::dpkg, "dpkg"},
                               {&UninstallPlaces::dpkgQuery, "dpkg-query"}}) {
      places.*field = (tools_.folder() / name).string();
    }
    places.privilegedProgram = UninstallPlaces::systemProgram(root_);
    places.cacheHome = home_ / ".cache";
    Uninstaller uninstaller(places, log_);
    return uninstaller.run();
  }

  [[nodiscard]] std::string tool(const char* name) const {
    return (tools_.folder() / name).string();
  }

  TemporaryFolder folder_;
  const fs::path home_ = folder_ / "the 'home' of \"a\"\nuser";
  const fs::path root_ = folder_ / "a root\nwith 'quotes'";
  const InstallLayout user_ = InstallLayout::perUser(home_);
  const InstallLayout system_ = InstallLayout::systemWide(root_);
  StandInPrograms tools_{folder_ / "tools"};
  testing::RecordingLog log_;
};

TEST_F(UninstallerTest, NothingInstalledRemovesNothingAndSaysSo) {
  const UninstallReport report = run();
  EXPECT_TRUE(report.removed.empty());
  const UninstallMessage message = report.message();
  EXPECT_EQ(message.title, "未找到已安装的 Yakdrom");
  EXPECT_EQ(message.text, "输入法可能已卸载，或安装在其它位置。");
  EXPECT_EQ(message.button, "好");
  EXPECT_EQ(tools_.calls(),
            (std::vector<Call>{{"dpkg-query", "-W", "-f", "${Status}", "yakdrom"}}));
  EXPECT_TRUE(log_.lines.empty());
}

TEST_F(UninstallerTest, ThisUsersCopyGoesWithoutAPasswordAndAFileOfTheUsersStays) {
  layOutInstall(user_, home_ / ".local/share/ibus/component/yakdrom.xml");
  testing::writeBytes(user_.bundle / "notes.txt", "mine");
  const UninstallReport report = run();
  EXPECT_EQ(report.removed, (std::vector<fs::path>{user_.bundle}));
  EXPECT_EQ(report.removedPaths.size(), 4U);
  EXPECT_TRUE(report.failed.empty());
  EXPECT_EQ(testing::readBytes(user_.bundle / "notes.txt"), "mine");
  EXPECT_FALSE(fs::exists(home_ / ".local/share/ibus/component/yakdrom.xml"));
  const UninstallMessage message = report.message();
  EXPECT_EQ(message.title, "已卸载");
  EXPECT_EQ(message.text.toStdString(), "已删除：\n" + user_.bundle.string() + kRemovedText);
  EXPECT_EQ(tools_.calls(), (std::vector<Call>{{"dpkg-query", "-W", "-f", "${Status}", "yakdrom"},
                                               {"ibus", "write-cache"}}));

  // A home that never ran IBus gets no registry of it from an uninstall.
  fs::remove(InstallLayout::ibusUserRegistry(home_ / ".cache"));
  layOutInstall(user_, home_ / ".local/share/ibus/component/yakdrom.xml");
  EXPECT_EQ(run().removed, (std::vector<fs::path>{user_.bundle}));
  EXPECT_EQ(tools_.calls().size(), 3U);  // one more dpkg-query, no ibus
}

TEST_F(UninstallerTest, TheDebianPackageGoesThroughPkexec) {
  installPackage();
  const UninstallReport report = run();
  EXPECT_EQ(report.removed, (std::vector<fs::path>{"/usr/lib/yakdrom"}));
  const Call query = {"dpkg-query", "-W", "-f", "${Status}", "yakdrom"};
  EXPECT_EQ(tools_.calls(),
            (std::vector<Call>{query,
                               {"pkexec", tool("dpkg"), "--remove", "yakdrom-fcitx5", "yakdrom"},
                               {"dpkg", "--remove", "yakdrom-fcitx5", "yakdrom"},
                               query}));
}

TEST_F(UninstallerTest, ACancelledPromptRemovesNothingAndIsNoError) {
  installPackage();
  cancelThePrompt();
  const UninstallReport report = run();
  EXPECT_TRUE(report.cancelled);
  EXPECT_TRUE(report.removed.empty());
  EXPECT_EQ(report.message().title, "卸载未完成");
  EXPECT_EQ(report.message().text, "已取消管理员授权，未删除任何内容。");
  EXPECT_TRUE(log_.lines.empty());
}

// Root ignores the folders' permissions, so only another user sees the plain removal fail.
TEST_F(UninstallerTest, TheSystemCopyAndThePackageTakeOnePrompt) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may remove the system copy without pkexec";
  installSystemCopy();
  installPackage();
  layOutInstall(user_, home_ / ".local/share/ibus/component/yakdrom.xml");
  const UninstallReport report = run();
  EXPECT_EQ(report.removed,
            (std::vector<fs::path>{user_.bundle, system_.bundle, "/usr/lib/yakdrom"}));
  EXPECT_FALSE(fs::exists(system_.bundle));
  EXPECT_TRUE(report.failed.empty());
  EXPECT_TRUE(log_.lines.empty());
  const Call query = {"dpkg-query", "-W", "-f", "${Status}", "yakdrom"};
  const std::string program = UninstallPlaces::systemProgram(root_).string();
  EXPECT_EQ(tools_.calls(), (std::vector<Call>{query,
                                               {"ibus", "write-cache"},
                                               {"pkexec", program, "uninstall", "--system",
                                                "--root", root_.string(), "--package"},
                                               {"dpkg", "--remove", "yakdrom-fcitx5", "yakdrom"},
                                               {"ibus", "write-cache", "--system"},
                                               query}));
  EXPECT_EQ(report.message().text.toStdString(), "已删除：\n" + user_.bundle.string() + "\n" +
                                                     system_.bundle.string() +
                                                     "\n/usr/lib/yakdrom" + kRemovedText);
}

TEST_F(UninstallerTest, ASystemCopyLeftByACancelledPromptIsReportedAsFailed) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may remove the system copy without pkexec";
  installSystemCopy();
  cancelThePrompt();
  const UninstallReport report = run();
  EXPECT_TRUE(report.cancelled);
  EXPECT_TRUE(report.removed.empty());
  EXPECT_TRUE(fs::exists(system_.manifest()));
  ASSERT_FALSE(report.failed.empty());
  std::string line = "Yakdrom IME: 删除失败 " + report.failed.front().path + ": Permission denied";
  std::replace(line.begin(), line.end(), '\n', ' ');  // the log keeps an event on one line
  EXPECT_EQ(log_.lines.front(), line);
  EXPECT_NE(report.message().text.toStdString().find("未能删除：\n" + report.failed.front().path),
            std::string::npos);
}

}  // namespace
}  // namespace yakdrom
