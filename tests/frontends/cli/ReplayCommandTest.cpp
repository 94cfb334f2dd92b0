#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
#include <string>
#include <utility>

#include "frontends/cli/SessionTestSupport.h"

namespace yakdrom::cli::testing {
namespace {

class ReplayCommandTest : public ::testing::Test {
 protected:
  Outcome replay(const std::string& keys, const Args& options = {}) {
    Args args = {"replay", dir_.write("keys.txt", keys).string(), "--lexicon", lexicon_.string()};
    args.insert(args.end(), options.begin(), options.end());
    return run(args);
  }

  TempDir dir_;
  std::filesystem::path lexicon_ = writeTinyLexicon(dir_);
};

TEST_F(ReplayCommandTest, ReportsSpeedLatencyMemoryAndStartUp) {
  // Line breaks only lay the file out: three lines of 19 keys.
  const auto r = replay("fod{down}{space}\r\ndusj\n\ncfcmrjxisj\n");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string number = "[0-9]+\\.[0-9]";
  const std::regex expected(
      "keys typed: 19\n"
      "keys per second: [0-9]+\n"
      "latency p50: " +
      number +
      " us\n"
      "latency p90: " +
      number +
      " us\n"
      "latency p99: " +
      number +
      " us\n"
      "latency max: " +
      number +
      " us\n"
      "peak memory: " +
      number +
      " MiB\n"
      "first key served: " +
      number +
      " ms after start\n"
      "lexicon loaded: " +
      number + " ms after start\n");
  EXPECT_TRUE(std::regex_match(r.out, expected)) << r.out;
}

TEST_F(ReplayCommandTest, TypesThroughTheInputControllerAndLearns) {
  // Learnt words are there from the first key, the lexicon perhaps not yet: Space confirms
  // the first learnt word either way.
  const auto file = dir_.write("user-dictionary.txt", "བོད་ཡིག་ 5\n");
  const auto r = replay("fod{space}\n", {"--user-dictionary", file.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readAll(file), "བོད་ཡིག་ 6\n");
}

TEST_F(ReplayCommandTest, ProblemsWithTheFileOrTheOptionsAreReported) {
  const auto bad = replay("fod\nc{nope}\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("keys.txt:2: unknown key \"{nope}\" at position 2"), std::string::npos)
      << bad.err;
  const auto missing = run({"replay", (dir_ / "none.txt").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.txt"), std::string::npos);
  EXPECT_EQ(run({"replay"}).status, 2);
  // Reading a named pipe would wait for a writer; a device or folder holds no keys.
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  const std::pair<std::string, const char*> others[] = {
      {(dir_ / "pipe").string(), "a named pipe"},
      {"/dev/null", "a device"},
      {dir_.path().string(), "a folder"},
  };
  for (const auto& [file, kind] : others) {
    SCOPED_TRACE(file);
    const auto r = run({"replay", file, "--lexicon", lexicon_.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "yakdrom replay: cannot read " + file + ": it is " + kind + ", not a key file\n");
  }
  EXPECT_EQ(run({"replay", "a", "b"}).status, 2);
  EXPECT_EQ(replay("fod", {"--set", "Yakdrom.candidateCount=many"}).status, 2);
  // A lexicon that cannot be loaded still lets every key be typed, and fails the run.
  const auto noLexicon =
      run({"replay", dir_.write("k.txt", "fod").string(), "--lexicon", (dir_ / "x.dat").string()});
  EXPECT_EQ(noLexicon.status, 1);
  EXPECT_NE(noLexicon.out.find("keys typed: 3\n"), std::string::npos);
  EXPECT_NE(noLexicon.out.find("lexicon loaded: failed\n"), std::string::npos);
}

}  // namespace
}  // namespace yakdrom::cli::testing
