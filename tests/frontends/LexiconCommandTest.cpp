#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <new>
#include <sstream>
#include <string>

#include "engine/lexicon/DictionaryLoader.h"
#include "engine/lexicon/LexiconTestSupport.h"
#include "frontends/CommandRun.h"

namespace yakdrom::cli {
namespace {

using testing::Outcome;

class LexiconCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    words_ = dir_.write("words.txt", "ཁ་\nཀ\nka\nཀ་ཏཱར་\nཀ་བ་\n");
    zh_ = dir_.write("zh.tsv", "ཀ་ཏཱར་\t卡塔尔\nbroken line\nཀ་ཏཱར\t卡塔尔\n");
    en_ = dir_.write("en.tsv", "ཀ་ཏཱར\tQatar\n");
    bo_ = dir_.write("bo.tsv", "ཀ་བ་\tཀ་བ་ནི་ཀ་བ་ཡིན།\n");
  }

  Outcome run(Args args) {
    args.insert(args.begin(), "lexicon");
    return testing::run(args);
  }

  Outcome build(const std::string& output) {
    return run({"build", "--words", words_.string(), "--explanations-bo", bo_.string(),
                "--explanations-zh", zh_.string(), "--explanations-en", en_.string(), "--output",
                (dir_ / output).string()});
  }

  yakdrom::testing::TempDir dir_;
  std::filesystem::path words_, zh_, en_, bo_;
};

TEST_F(LexiconCommandTest, BuildWritesAPackedLexiconAndReportsBadLines) {
  const auto r = build("lex.dat");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(words_.string() + ":3: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(zh_.string() + ":2: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(zh_.string() + ":1: duplicate explanation of ཀ་ཏཱར་; the later one (" +
                       zh_.string() + ":3) is kept\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("4 words"), std::string::npos) << r.out;
  const auto loaded = DictionaryLoader::load(dir_ / "lex.dat");
  ASSERT_TRUE(loaded);
  const auto& content = loaded.value();
  EXPECT_EQ(content.words, (std::vector<std::string>{"ཀ་", "ཀ་ཏཱར་", "ཀ་བ་", "ཁ་"}));
  EXPECT_EQ(content.explanations, (ExplanationMap{{"ཀ་བ", "ཀ་བ་ནི་ཀ་བ་ཡིན།"}}));
  EXPECT_EQ(content.chineseExplanations, (ExplanationMap{{"ཀ་ཏཱར", "卡塔尔"}}));
  EXPECT_EQ(content.englishExplanations, (ExplanationMap{{"ཀ་ཏཱར", "Qatar"}}));
}

// Scripts written for the earlier option names still build the same lexicon; the output's
// missing folder is made.
TEST_F(LexiconCommandTest, EarlierOptionNamesBuildTheSameLexicon) {
  ASSERT_EQ(build("lex.dat").status, 0);
  const auto output = dir_ / "new" / "lex.dat";
  const auto r = run({"build", "--words", words_.string(), "--definitions-bo", bo_.string(),
                      "--definitions-zh", zh_.string(), "--definitions-en", en_.string(),
                      "--output", output.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  const auto loaded = DictionaryLoader::load(output);
  const auto earlier = DictionaryLoader::load(dir_ / "lex.dat");
  ASSERT_TRUE(loaded);
  ASSERT_TRUE(earlier);
  EXPECT_EQ(loaded.value(), earlier.value());
}

TEST_F(LexiconCommandTest, InfoShowsFormCountsAndLoadTime) {
  ASSERT_EQ(build("lex.dat").status, 0);
  const auto r = run({"info", (dir_ / "lex.dat").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* line :
       {"form: packed\n", "words: 4\n", "Tibetan explanations: 1\n", "Chinese explanations: 1\n",
        "English explanations: 1\n", "load time: "}) {
    SCOPED_TRACE(line);
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
  }
}

TEST_F(LexiconCommandTest, CommaSeparatedOutputKeepsTibetanExplanationsOnly) {
  const auto refused = build("tbtotb.csv");
  EXPECT_EQ(refused.status, 2);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "tbtotb.csv"));
  const auto r = run({"build", "--words", words_.string(), "--explanations-bo", bo_.string(),
                      "--output", (dir_ / "tbtotb.csv").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  const auto info = run({"info", (dir_ / "tbtotb.csv").string()});
  EXPECT_NE(info.out.find("form: comma-separated\nwords: 4\nTibetan explanations: 1\n"),
            std::string::npos)
      << info.out;
}

TEST_F(LexiconCommandTest, LookupPrintsCandidatesWithTheirExplanations) {
  ASSERT_EQ(build("lex.dat").status, 0);
  const auto lex = (dir_ / "lex.dat").string();
  struct Case {
    Args args;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"lookup", lex, "ཀ"}, "ཀ་\nཀ་ཏཱར་\tzh: 卡塔尔\ten: Qatar\nཀ་བ་\tbo: ཀ་བ་ནི་ཀ་བ་ཡིན།\n"},
      {{"lookup", lex, "ཀ", "--limit", "2"}, "ཀ་\nཀ་ཏཱར་\tzh: 卡塔尔\ten: Qatar\n"},
      {{"lookup", lex, "ཀ་ཏ"}, ""},  // ཏཱ is one character: ཏ alone is no prefix of it
      {{"lookup", lex, "ཁ"}, "ཁ་\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[2]);
    const auto r = run(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

TEST_F(LexiconCommandTest, BadUsageExitsWithStatus2) {
  const auto lex = (dir_ / "lex.dat").string();
  const std::vector<Args> cases = {
      {},
      {"compile"},
      {"build", "--output", lex},
      {"build", "--words", words_.string()},
      {"build", "--words"},
      {"build", "--words", words_.string(), "--output", lex, "--output", lex},
      {"build", "--words", words_.string(), "--colour", "x", "--output", lex},
      {"info"},
      {"info", lex, lex},
      {"lookup", lex},
      {"lookup", lex, "ཀ", "--limit", "0"},
      {"lookup", lex, "ཀ", "--limit", "5x"},
      {"lookup", lex, "ཀ", "--limit"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const auto r = run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(LexiconCommandTest, FailuresExitWithStatus1AndOneLine) {
  const auto garbage = dir_.write("garbage.dat", "no lexicon here");
  const auto blank = dir_.write("blank.txt", "\n\nka\n");
  const auto good = dir_.write("good.txt", "ཀ་\n");
  const std::vector<Args> cases = {
      {"info", (dir_ / "missing.dat").string()},
      {"info", garbage.string()},
      {"lookup", (dir_ / "missing.dat").string(), "ཀ"},
      {"build", "--words", (dir_ / "missing.txt").string(), "--output",
       (dir_ / "out.dat").string()},
      {"build", "--words", good.string(), "--explanations-en", (dir_ / "missing.tsv").string(),
       "--output", (dir_ / "out.dat").string()},
      {"build", "--words", good.string(), "--output", (good / "out.dat").string()},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const auto r = run(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("yakdrom lexicon ", 0), 0u) << r.err;
  }
  const auto empty =
      run({"build", "--words", blank.string(), "--output", (dir_ / "out.dat").string()});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("no usable word"), std::string::npos) << empty.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.dat"));
}

// The load's reason reaches the user: a damaged packed file is not "no word".
TEST_F(LexiconCommandTest, InfoNamesWhyAFileIsRefused) {
  ASSERT_EQ(build("lex.dat").status, 0);
  const std::string packed = yakdrom::testing::readAll(dir_ / "lex.dat");
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"cut.dat", packed.substr(0, packed.size() - 1),
       "starts like a packed lexicon but cannot be read as one"},
      {"binary.csv", "word,explanation\nཀ\xFF,x\n", "neither a packed lexicon nor UTF-8 text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir_.write(c.name, c.bytes);
    const auto r = run({"info", path.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("yakdrom lexicon info: cannot read the lexicon " + path.string(), 0), 0u)
        << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
}

// However the output names an input, the build must not replace its own source.
TEST_F(LexiconCommandTest, BuildRefusesAnOutputThatIsOneOfItsInputs) {
  namespace fs = std::filesystem;
  fs::create_symlink(words_, dir_ / "link.txt");
  fs::create_hard_link(bo_, dir_ / "hard.tsv");
  const std::string words = yakdrom::testing::readAll(words_);
  const std::string bo = yakdrom::testing::readAll(bo_);
  for (const auto& output : {words_, dir_ / "link.txt", dir_ / "hard.tsv"}) {
    SCOPED_TRACE(output.string());
    const auto r = run({"build", "--words", words_.string(), "--explanations-bo", bo_.string(),
                        "--output", output.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(" is the input "), std::string::npos) << r.err;
    EXPECT_EQ(yakdrom::testing::readAll(words_), words);
    EXPECT_EQ(yakdrom::testing::readAll(bo_), bo);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
  }
}

// The output is replaced through a temporary of a fresh name: a link keeps pointing at the
// file it names, which gets the lexicon, and a file named like a temporary is left alone.
TEST_F(LexiconCommandTest, BuildWritesThroughALinkAndLeavesOtherFilesAlone) {
  namespace fs = std::filesystem;
  fs::create_directory(dir_ / "real");
  const auto target = dir_.write("real/lex.dat", "old");
  fs::create_symlink(target, dir_ / "lex.dat");
  const auto part = dir_.write("lex.dat.part", "someone else's");
  const auto realPart = dir_.write("real/lex.dat.part", "someone else's");
  const auto r = build("lex.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "lex.dat"));
  EXPECT_EQ(fs::read_symlink(dir_ / "lex.dat"), target);
  const auto loaded = DictionaryLoader::load(target);
  ASSERT_TRUE(loaded) << loaded.error().message();
  EXPECT_EQ(loaded.value().words.size(), 4u);
  EXPECT_EQ(yakdrom::testing::readAll(part), "someone else's");
  EXPECT_EQ(yakdrom::testing::readAll(realPart), "someone else's");
  EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), {}), 2)
      << "no temporary is left beside the target";
}

TEST(CommandLineTest, RunningOutOfMemoryEndsWithAMessageAndStatus1) {
  std::ostringstream err;
  EXPECT_EQ(runCatchingOutOfMemory([]() -> int { throw std::bad_alloc(); }, err), 1);
  EXPECT_EQ(err.str(), "yakdrom: out of memory\n");
  std::ostringstream quiet;
  EXPECT_EQ(runCatchingOutOfMemory([] { return 3; }, quiet), 3);
  EXPECT_EQ(quiet.str(), "");
}

}  // namespace
}  // namespace yakdrom::cli
