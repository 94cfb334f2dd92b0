#include <gtest/gtest.h>

#include <string>

#include "engine/learning/AtomicFile.h"
#include "engine/learning/TemporaryFolder.h"

namespace yakdrom::detail {
namespace {

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

}  // namespace
}  // namespace yakdrom::detail
