#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "ime/platform/PidFile.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
using testing::writeBytes;

// A child that sleeps until it is signalled, running the program at `path`.
class SleepingChild {
 public:
  explicit SleepingChild(const fs::path& path) {
    const std::string program = path.string();
    char seconds[] = "600";
    char* argv[] = {const_cast<char*>(program.c_str()), seconds, nullptr};
    EXPECT_EQ(::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ), 0);
  }
  ~SleepingChild() {
    if (!reaped_) ::kill(pid_, SIGKILL);
    wait();
  }
  SleepingChild(const SleepingChild&) = delete;
  SleepingChild& operator=(const SleepingChild&) = delete;

  [[nodiscard]] pid_t pid() const { return pid_; }

  /// Returns the signal that ended the child, waiting for it.
  int wait() {
    if (!reaped_) ::waitpid(pid_, &status_, 0);
    reaped_ = true;
    return WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
  }

 private:
  pid_t pid_ = 0;
  int status_ = 0;
  bool reaped_ = false;
};

fs::path sleepProgram() { return fs::canonical("/bin/sleep"); }

TEST(PidFileTest, WritesOurIdInAPrivateFolderAndRemovesOnlyItsOwnFile) {
  TemporaryFolder runtime;
  const fs::path path = PidFile::enginePath(runtime.path());
  EXPECT_EQ(path, runtime / "yakdrom/yakdrom-ibus.pid");
  {
    const PidFile file(path);
    ASSERT_TRUE(file.written());
    EXPECT_EQ(PidFile::read(path), ::getpid());
    EXPECT_EQ(fs::status(path.parent_path()).permissions(), fs::perms::owner_all);
  }
  EXPECT_FALSE(fs::exists(path));
  {
    const PidFile file(path);
    // A second engine started since owns the file now.
    writeBytes(path, "4242\n");
  }
  EXPECT_EQ(PidFile::read(path), 4242);
}

TEST(PidFileTest, OnlyALiveEngineIsSignalled) {
  TemporaryFolder folder;
  const fs::path file = folder / "engine.pid";
  fs::copy_file(sleepProgram(), folder / "yakdrom-ibus");
  SleepingChild other(sleepProgram());
  SleepingChild finished(sleepProgram());
  ::kill(finished.pid(), SIGKILL);
  finished.wait();
  const std::string cases[] = {"",
                               "garbage",
                               "0",
                               "-1",
                               "1",
                               std::to_string(finished.pid()),
                               std::to_string(other.pid()),
                               std::to_string(::getpid())};
  for (const std::string& contents : cases) {
    SCOPED_TRACE(contents);
    writeBytes(file, contents + "\n");
    EXPECT_FALSE(PidFile::signalRunning(file, SIGTERM));
  }
  EXPECT_FALSE(PidFile::signalRunning(folder / "missing.pid", SIGTERM));
  EXPECT_EQ(::kill(other.pid(), 0), 0) << "a reused ID was signalled";

  SleepingChild engine(folder / "yakdrom-ibus");
  writeBytes(file, std::to_string(engine.pid()) + "\n");
  EXPECT_TRUE(PidFile::signalRunning(file, SIGTERM));
  EXPECT_EQ(engine.wait(), SIGTERM);
}

// After an uninstall the engine still runs from a file that no longer exists.
TEST(PidFileTest, AnEngineWhoseProgramWasRemovedIsStillSignalled) {
  TemporaryFolder folder;
  fs::copy_file(sleepProgram(), folder / "yakdrom-ibus");
  SleepingChild engine(folder / "yakdrom-ibus");
  fs::remove(folder / "yakdrom-ibus");
  const fs::path file = folder.write("engine.pid", std::to_string(engine.pid()));
  EXPECT_TRUE(PidFile::signalRunning(file, SIGTERM));
  EXPECT_EQ(engine.wait(), SIGTERM);
}

}  // namespace
}  // namespace yakdrom
