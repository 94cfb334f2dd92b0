#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/learning/TemporaryFolder.h"
#include "frontends/CommandRun.h"

namespace yakdrom::cli {
namespace {

using testing::Outcome;
using yakdrom::testing::readBytes;
using yakdrom::testing::TemporaryFolder;
using yakdrom::testing::writeBytes;

Outcome userdict(Args args) {
  args.insert(args.begin(), "userdict");
  return testing::run(args);
}

class UserDictCommandTest : public ::testing::Test {
 protected:
  TemporaryFolder folder_;
  std::string file_ = (folder_ / "user-dictionary.txt").string();
};

TEST_F(UserDictCommandTest, LearnThenShowPrintsEntriesAndCount) {
  const std::string file = (folder_ / "new" / "user-dictionary.txt").string();  // folder made
  const Outcome learnt = userdict({"learn", file, "བོད་", " བོད་ ", "ཡིག་"});
  EXPECT_EQ(learnt.status, 0) << learnt.err;
  EXPECT_EQ(learnt.out, "2 entries\n");
  const Outcome shown = userdict({"show", file});
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out, "བོད་ 2\nཡིག་ 1\n2 entries\n");
}

// The valid words are learnt all the same, so the command succeeds.
TEST_F(UserDictCommandTest, LearnReportsEachWordItIgnoresAndWhy) {
  const std::string tooLong(61, 'a');
  const Outcome r = userdict({"learn", file_, "ཀ", " ", "ཀ\nཁ", tooLong, "caf\xE9 \"x\"", "ཁ"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2 entries\n");
  EXPECT_EQ(r.err,
            "yakdrom userdict: ignored \" \": empty\n"
            "yakdrom userdict: ignored \"ཀ\\x0Aཁ\": holds a line feed or carriage return\n"
            "yakdrom userdict: ignored \"" +
                tooLong +
                "\": longer than 60 characters\n"
                "yakdrom userdict: ignored \"caf\\xE9 \\\"x\\\"\": not well-formed UTF-8\n");
  EXPECT_EQ(readBytes(file_), "ཀ 1\nཁ 1\n");
}

TEST_F(UserDictCommandTest, ImportAndExportReportTheirCounts) {
  const std::string list = (folder_ / "list.txt").string();
  writeBytes(list, "ཀ 3\r\nཀ 7\r\nཁ\r\n");
  const Outcome imported = userdict({"import", file_, list});
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "3 entries imported\n2 entries\n");

  const std::string dest = (folder_ / "out.txt").string();
  const Outcome exported = userdict({"export", file_, dest});
  EXPECT_EQ(exported.status, 0);
  EXPECT_EQ(exported.out, "2 entries exported to " + dest + "\n");
  EXPECT_EQ(readBytes(dest), "ཀ 7\nཁ 1\n");
}

TEST_F(UserDictCommandTest, BackupPrintsTheNewFile) {
  writeBytes(file_, "ཀ 2\n");
  const Outcome made = userdict({"backup", file_, "--keep", "3"});
  EXPECT_EQ(made.status, 0) << made.err;
  ASSERT_FALSE(made.out.empty());
  const std::string path = made.out.substr(0, made.out.size() - 1);
  EXPECT_NE(path.find("/backups/Yakdrom用户词库-"), std::string::npos);
  EXPECT_EQ(readBytes(path), "ཀ 2\n");
}

TEST_F(UserDictCommandTest, FileProblemsFailWithExitOneAndLoseNothing) {
  const std::string folderAsFile = folder_.path().string();
  const std::string existing = folder_.write("existing.txt", "ཀ 1\n").string();
  struct Case {
    Args args;
    const char* message;
  };
  const Case cases[] = {
      {{"show", file_}, "cannot read"},  // read-only commands need the file
      {{"export", file_, file_ + ".out"}, "cannot read"},
      {{"learn", folderAsFile, "ཀ"}, "cannot read"},            // exists, unreadable as a file
      {{"learn", existing + "/dict.txt", "ཀ"}, "cannot read"},  // a file in the folder's place
      {{"export", existing, existing + "/out.txt"}, "cannot create the folder"},
      {{"import", file_, (folder_ / "missing.txt").string()}, "cannot read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const Outcome r = userdict(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_TRUE(std::filesystem::is_directory(folderAsFile));
  EXPECT_EQ(readBytes(existing), "ཀ 1\n");
}

// A dictionary that is a link to a missing file stays a link; the message says where to.
TEST_F(UserDictCommandTest, LearnRefusesALinkToAMissingFile) {
  const std::string gone = (folder_ / "moved" / "user-dictionary.txt").string();
  std::filesystem::create_symlink(gone, file_);
  const Outcome r = userdict({"learn", file_, "ཀ"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "yakdrom userdict: cannot write " + file_ +
                       ": a symbolic link to a file that does not exist (" + gone + ")\n");
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_FALSE(std::filesystem::exists(gone));
}

// Export to the standard output or a pipe writes into it rather than replacing it.
TEST_F(UserDictCommandTest, ExportWritesIntoAFifo) {
  writeBytes(file_, "ཀ 2\n");
  const std::string fifo = (folder_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const Outcome r = userdict({"export", file_, fifo});
  char buffer[64] = {};
  const ssize_t n = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "ཀ 2\n");
  EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
}

TEST_F(UserDictCommandTest, IllFormedFileKeepsItsOriginalBytes) {
  writeBytes(file_, "caf\xE9 4\n");
  const Outcome r = userdict({"learn", file_, "ཀ"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("original bytes are kept in"), std::string::npos) << r.err;
  EXPECT_EQ(readBytes(file_), "caf\uFFFD 4\nཀ 1\n");
}

TEST_F(UserDictCommandTest, BadUsageExitsWithTwo) {
  for (const Args& args :
       {Args{}, Args{"show"}, Args{"frobnicate", file_}, Args{"learn", file_},
        Args{"import", file_}, Args{"backup", file_, "--keep"},
        Args{"backup", file_, "--keep", "-1"}, Args{"backup", file_, "--kept", "3"}}) {
    const Outcome r = userdict(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.err.find("usage: yakdrom userdict"), std::string::npos);
  }
}

}  // namespace
}  // namespace yakdrom::cli
