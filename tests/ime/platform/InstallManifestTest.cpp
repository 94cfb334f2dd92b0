#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "ime/platform/InstallLayout.h"
#include "ime/platform/InstallManifest.h"

namespace yakdrom {

void PrintTo(const RemovalFailure& failure, std::ostream* out) {
  *out << failure.path << ": " << failure.reason;
}

namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
using testing::writeBytes;

TEST(InstallManifestTest, EscapingRoundTripsAnyPathOnOneLine) {
  const std::string paths[] = {"/a b/c",         "/it's \"q\"/x", "/line\nfeed/", "/back\\slash",
                               "/not\\n a feed", "/ends\\",       "/\n\n\\\\n"};
  std::string text;
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    const std::string line = InstallManifest::escape(path);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    text += line + "\n";
  }
  EXPECT_EQ(InstallManifest::parse(text).entries(),
            std::vector<std::string>(std::begin(paths), std::end(paths)));
  EXPECT_EQ(InstallManifest::escape("/a\\b\nc"), "/a\\\\b\\nc");
}

// printf '%b' would read these differently from what the install wrote, so they are refused.
TEST(InstallManifestTest, LinesWithOtherEscapesAreNeverRemoved) {
  TemporaryFolder folder;
  writeBytes(folder / "a\\tb", "x");
  const std::string line = (folder / "a\\tb").string();
  const auto manifest = InstallManifest::parse(line + "\n" + line + "\\\n");
  EXPECT_TRUE(manifest.entries().empty());
  const RemovalResult result = manifest.removeListed({folder.path()});
  EXPECT_TRUE(result.removed.empty());
  EXPECT_EQ(result.failed, (std::vector<RemovalFailure>{{line, "not a manifest line"},
                                                        {line + "\\", "not a manifest line"}}));
  EXPECT_TRUE(fs::exists(folder / "a\\tb"));
}

class InstallRemovalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bundle_ / "bin");
    fs::create_directories(share_ / "applications");
    writeBytes(bundle_ / "bin/yakdrom-ibus", "program");
    writeBytes(share_ / "applications/yakdrom-settings.desktop", "entry");
  }

  [[nodiscard]] RemovalResult remove(const std::vector<std::string>& entries) const {
    std::string text;
    for (const std::string& entry : entries) text += InstallManifest::escape(entry) + "\n";
    writeBytes(layout_.manifest(), text);
    const auto manifest = InstallManifest::read(layout_.manifest());
    EXPECT_TRUE(manifest.ok());
    return manifest.value().removeListed(layout_.roots);
  }

  TemporaryFolder folder_;
  const fs::path home_ = folder_ / "a 'home' \"with\"\nlines";
  const InstallLayout layout_ = InstallLayout::perUser(home_);
  const fs::path bundle_ = layout_.bundle;
  const fs::path share_ = home_ / ".local/share";
};

TEST_F(InstallRemovalTest, RemovesTheListedFilesThenTheEmptyListedFoldersDeepestFirst) {
  const std::string lib = (home_ / ".local/lib/").string();
  const std::vector<std::string> entries = {
      (bundle_ / "bin/yakdrom-ibus").string(),
      lib,
      bundle_.string() + "/",
      (bundle_ / "bin/").string(),
      layout_.manifest().string(),
      (share_ / "applications/yakdrom-settings.desktop").string(),
      (bundle_ / "Resources/lex.dat").string()};  // already gone
  const RemovalResult result = remove(entries);
  EXPECT_TRUE(result.failed.empty()) << result.failed.front().path;
  EXPECT_EQ(result.removed, (std::vector<std::string>{entries[0], entries[4], entries[5],
                                                      entries[3], entries[2], entries[1]}));
  EXPECT_FALSE(fs::exists(home_ / ".local/lib"));
  // Not listed, so the folder the user had stays.
  EXPECT_TRUE(fs::is_directory(share_ / "applications"));
}

TEST_F(InstallRemovalTest, AFileTheInstallDidNotWriteKeepsItsFolders) {
  writeBytes(bundle_ / "bin/notes.txt", "mine");
  const RemovalResult result =
      remove({(bundle_ / "bin/yakdrom-ibus").string(), bundle_.string() + "/",
              (bundle_ / "bin/").string(), layout_.manifest().string()});
  EXPECT_TRUE(result.failed.empty());
  EXPECT_EQ(result.removed.size(), 2U);
  EXPECT_EQ(testing::readBytes(bundle_ / "bin/notes.txt"), "mine");
}

TEST_F(InstallRemovalTest, PathsOutsideTheRootsOrNotPlainAreRefusedAndKept) {
  writeBytes(folder_ / "outside", "keep");
  fs::create_directory(folder_ / "outside-folder");
  const std::string outside = (folder_ / "outside").string();
  const std::string climbing = (bundle_ / "../../../../outside").string();
  const struct {
    std::string entry;
    std::string reason;
  } cases[] = {
      {outside, "outside the folders an install writes to"},
      {climbing, "not an absolute path without \".\" or \"..\""},
      {"relative/outside", "not an absolute path without \".\" or \"..\""},
      {(folder_ / "outside-folder/").string(), "outside the folders an install writes to"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    const RemovalResult result = remove({c.entry});
    EXPECT_TRUE(result.removed.empty());
    EXPECT_EQ(result.failed, (std::vector<RemovalFailure>{{c.entry, c.reason}}));
  }
  EXPECT_EQ(testing::readBytes(folder_ / "outside"), "keep");
  EXPECT_TRUE(fs::is_directory(folder_ / "outside-folder"));
}

TEST_F(InstallRemovalTest, LinksAreRemovedButNeverFollowed) {
  fs::create_directories(folder_ / "elsewhere/inner");
  writeBytes(folder_ / "elsewhere/inner/victim", "keep");
  fs::create_directory_symlink(folder_ / "elsewhere", bundle_ / "Resources");
  fs::create_directory_symlink(folder_ / "elsewhere/inner", bundle_ / "data");
  fs::create_directories(bundle_ / "real/full");
  writeBytes(bundle_ / "real/full/file", "keep");
  const std::string throughLink = (bundle_ / "Resources/inner/victim").string();
  const std::string linkAsFolder = (bundle_ / "data/").string();
  const std::string folderAsFile = (bundle_ / "real").string();
  const RemovalResult result =
      remove({throughLink, (bundle_ / "Resources").string(), linkAsFolder, folderAsFile});
  EXPECT_EQ(result.removed, (std::vector<std::string>{(bundle_ / "Resources").string()}));
  EXPECT_EQ(result.failed, (std::vector<RemovalFailure>{{throughLink, "Not a directory"},
                                                        {folderAsFile, "Is a directory"},
                                                        {linkAsFolder, "Not a directory"}}));
  EXPECT_EQ(testing::readBytes(folder_ / "elsewhere/inner/victim"), "keep");
  EXPECT_EQ(testing::readBytes(bundle_ / "real/full/file"), "keep");
  EXPECT_TRUE(fs::is_symlink(bundle_ / "data"));
}

TEST(InstallManifestTest, AMissingManifestSaysSo) {
  const auto manifest = InstallManifest::read("/nonexistent/install-manifest.txt");
  ASSERT_FALSE(manifest.ok());
  EXPECT_EQ(manifest.error().code, std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace yakdrom
