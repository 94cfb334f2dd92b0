#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/learning/AtomicFile.h"
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

}  // namespace
}  // namespace yakdrom::detail
