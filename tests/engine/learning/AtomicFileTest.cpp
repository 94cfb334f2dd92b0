#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/learning/AtomicFile.h"
#include "engine/learning/FileRefusal.h"
#include "engine/learning/TemporaryFolder.h"

namespace yakdrom::detail {
namespace {

using testing::readBytes;
using testing::TemporaryFolder;

// The reader sizes its buffer by the file's reported size; files whose size is unknown
// ahead (reported as 0, as the kernel's own files are) must still come back whole.
TEST(AtomicFile, ReadReturnsWholeFilesWhateverSizeTheyReport) {
  TemporaryFolder folder;
  std::string large;
  for (int k = 0; k < 100'000; ++k) large += "བོད་ " + std::to_string(k) + "\n";
  for (const std::string& bytes : {std::string(), std::string("ཀ"), large}) {
    SCOPED_TRACE(bytes.size());
    const auto read = AtomicFile::read(folder.write("file.txt", bytes));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(std::string_view(read.value()), bytes);
  }
  const auto status = AtomicFile::read("/proc/self/status");
  ASSERT_TRUE(status.ok());
  EXPECT_NE(std::string_view(status.value()).find("\nVmRSS:"), std::string_view::npos);
  EXPECT_EQ(status.value().back(), '\n');
}

// Nothing may block on a FIFO with no writer, nor take in a file of any size.
TEST(AtomicFile, ReadRefusesWhatIsNotARegularFileOfSensibleSize) {
  TemporaryFolder folder;
  const auto fifo = folder / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto huge = folder.write("huge.txt", "");
  std::filesystem::resize_file(huge, (std::uintmax_t{512} << 20) + 1);  // sparse: no disk used
  const auto justFits = folder.write("fits.txt", "");
  std::filesystem::resize_file(justFits, 1 << 20);
  std::filesystem::create_directory_symlink(folder.path(), folder / "link-to-folder");
  const struct {
    std::filesystem::path path;
    FileRefusal refusal;
  } cases[] = {
      {folder.path(), FileRefusal::notRegularFile},
      {folder / "link-to-folder", FileRefusal::notRegularFile},
      {fifo, FileRefusal::notRegularFile},
      {"/dev/null", FileRefusal::notRegularFile},
      {huge, FileRefusal::tooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto read = AtomicFile::read(c.path);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().code, c.refusal);
    EXPECT_EQ(read.error().message().find("cannot read " + c.path.string() + ": "), 0U);
  }
  EXPECT_TRUE(AtomicFile::read(justFits).ok());
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(AtomicFile, WriteCreatesMissingFoldersAndLeavesOnlyTheFile) {
  TemporaryFolder folder;
  const auto file = folder / "a" / "b" / "file.txt";
  const auto written = AtomicFile::write(file, "ཀ");
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(written.value(), std::string_view("ཀ").size());
  EXPECT_EQ(readBytes(file), "ཀ");
  EXPECT_EQ(namesIn(folder / "a" / "b"), std::vector<std::string>{"file.txt"});
}

// Failures are reported for the step that failed, and no temporary file stays behind.
TEST(AtomicFile, WriteFailuresLeaveTheFolderAsItWas) {
  TemporaryFolder folder;
  const auto regular = folder.write("regular", "kept");
  std::filesystem::create_directories(folder / "directory" / "inside");
  const struct {
    std::filesystem::path target;
    std::filesystem::path reported;
  } cases[] = {
      {regular / "file.txt", regular},  // a file where the folder should be
      {folder / "directory", folder / "directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const auto written = AtomicFile::write(c.target, "new");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().path, c.reported);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"directory", "regular"}));
  }
  EXPECT_EQ(readBytes(regular), "kept");
}

// What reads a FIFO or device is cut off if it is replaced by a plain file; it must get the
// bytes instead, even through a link.
TEST(AtomicFile, WriteGoesIntoAFifoRatherThanReplacingIt) {
  TemporaryFolder folder;
  const auto fifo = folder / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("fifo", folder / "link");
  for (const auto& target : {fifo, folder / "link"}) {
    SCOPED_TRACE(target);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const auto written = AtomicFile::write(target, "ཀ 1\n");
    char buffer[64] = {};
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    ASSERT_TRUE(written.ok()) << written.error().message();
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0))), "ཀ 1\n");
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"fifo", "link"}));
  }
}

// Replacing the link by a plain file would quietly end the link the user made.
TEST(AtomicFile, WriteRefusesALinkToAMissingFile) {
  TemporaryFolder folder;
  const auto link = folder / "dict.txt";
  const auto gone = folder / "elsewhere" / "dict.txt";
  std::filesystem::create_symlink(gone, link);
  const auto written = AtomicFile::write(link, "ཀ 1\n");
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().code, FileRefusal::danglingLink);
  const std::string message = written.error().message();
  EXPECT_NE(message.find(link.string()), std::string::npos) << message;
  EXPECT_NE(message.find(gone.string()), std::string::npos) << message;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere"));
}

// Only this file's own temporary names, and only those no running write can still own
// (changed before this program started), go.
TEST(AtomicFile, WriteRemovesTemporariesThatStoppedWritersLeft) {
  TemporaryFolder folder;
  const auto lastWeek = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 7);
  // File times lag the clock by up to a tick, so a write begun just after start-up can
  // carry a time from just before it.
  const auto aMomentAgo = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(1);
  const struct {
    const char* name;
    bool stale;
    bool removed;
  } cases[] = {
      {".dict.txt.tmp-123-0", true, true},      {".dict.txt.tmp-4567-12", true, true},
      {".dict.txt.tmp-123-1", false, false},  // a running write's, stamped a moment ago
      {".other.txt.tmp-123-0", true, false},    {".dict.txt.tmp-123", true, false},
      {".dict.txt.tmp-12a-0", true, false},     {"dict.txt.tmp-123-0", true, false},
      {".dict.txt.tmp-123-0.bak", true, false},
  };
  for (const auto& c : cases) {
    const auto path = folder.write(c.name, "partial");
    std::filesystem::last_write_time(path, c.stale ? lastWeek : aMomentAgo);
  }
  ASSERT_TRUE(AtomicFile::write(folder / "dict.txt", "ཀ 1\n").ok());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(std::filesystem::exists(folder / c.name), !c.removed);
  }
  EXPECT_EQ(readBytes(folder / "dict.txt"), "ཀ 1\n");
}

}  // namespace
}  // namespace yakdrom::detail
