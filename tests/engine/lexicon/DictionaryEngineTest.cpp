#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/lexicon/DictionaryEngine.h"
#include "engine/lexicon/LexiconTestSupport.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using Words = std::vector<std::string>;

// NFC words in lexicon order: the tsheg (U+0F0B) sorts before letters, letters before vowel
// signs and subjoined letters.
const Words kWords = {
    "ཀ",         // the bare letter
    "ཀ་",        //
    "ཀ་བ་",      //
    "ཀཀ་",       //
    "ཀུ་",        // vowel sign U+0F74
    "ཀྱི་",        // subjoined U+0FB1 + vowel sign
    "ཁ་",        //
    "ག\u0FB7་",  // NFC of U+0F43 (excluded from composition)
    "ང་",        //
};

std::unique_ptr<DictionaryEngine> engineWith(const Words& words) {
  EXPECT_TRUE(std::is_sorted(words.begin(), words.end(), text::lexiconLess));
  auto engine = std::make_unique<DictionaryEngine>();
  engine->install(words);
  return engine;
}

TEST(DictionaryEngineTest, ContainsExactWordsUpToCanonicalEquivalence) {
  auto engine = engineWith(kWords);
  struct Case {
    const char* word;
    bool found;
  };
  const Case cases[] = {
      {"ཀ་", true},
      {"ཀ", true},
      {"ཀ་བ", false},     // a prefix of a word is not a word
      {"ཀ་བ་་", false},   // nor is a longer text
      {"\u0F43་", true},  // precomposed GHA equals GA + subjoined HA
      {"ཀ\u0FB1\u0F72་", true},
      {"ཨ་", false},  // sorts after every word
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(engine->contains(c.word), c.found);
  }
}

TEST(DictionaryEngineTest, EmptyWordIsNeverContainedEvenWhenListed) {
  auto engine = engineWith({"", "ཀ་"});
  EXPECT_FALSE(engine->contains(""));
  EXPECT_TRUE(engine->contains("ཀ་"));
}

TEST(DictionaryEngineTest, CandidatesFollowCharacterPrefixes) {
  auto engine = engineWith(kWords);
  struct Case {
    const char* prefix;
    int limit;
    Words expected;
  };
  const std::vector<Case> cases = {
      {"ཀ", 10, {"ཀ", "ཀ་", "ཀ་བ་", "ཀཀ་"}},  // stops at ཀུ: the vowel belongs to the letter
      {"ཀ་", 10, {"ཀ་", "ཀ་བ་"}},
      {"ཀ", 3, {"ཀ", "ཀ་", "ཀ་བ་"}},
      {"ཀུ", 10, {"ཀུ་"}},
      {"ཀྱ", 10, {}},  // ཀྱི is one character, not ཀྱ followed by more
      {"ཀྱི", 10, {"ཀྱི་"}},
      {"\u0F43", 10, {"ག\u0FB7་"}},
      {"ཁ་", 10, {"ཁ་"}},
      {"ཨ", 10, {}},
      {"ཀ", 0, {}},
      {"ཀ", -1, {}},
      {"", 10, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.prefix) + " limit " + std::to_string(c.limit));
    EXPECT_EQ(engine->candidates(c.prefix, c.limit), c.expected);
  }
}

// Each query extends the one before, so all but the first search what the last one found;
// a query that found nothing must not hide what a new list or a longer character holds.
TEST(DictionaryEngineTest, LongerQueriesFindWhatAFreshEngineFinds) {
  auto engine = engineWith(kWords);
  const std::vector<std::pair<const char*, Words>> steps = {
      {"ཀ", {"ཀ", "ཀ་", "ཀ་བ་", "ཀཀ་"}},
      {"ཀྱ", {}},
      {"ཀྱི", {"ཀྱི་"}},
      {"ཀྱི་", {"ཀྱི་"}},
      {"ཀྱི་ཀ", {}},
      {"ཀྱི་ཀ་", {}},
      {"ཀ", {"ཀ", "ཀ་", "ཀ་བ་", "ཀཀ་"}},
      {"ཀ་", {"ཀ་", "ཀ་བ་"}},
      {"ཀ་བ", {"ཀ་བ་"}},
      {"ཀ་བ་", {"ཀ་བ་"}},
  };
  for (const auto& [prefix, expected] : steps) {
    SCOPED_TRACE(prefix);
    EXPECT_EQ(engine->candidates(prefix, 10), expected);
    EXPECT_EQ(engineWith(kWords)->candidates(prefix, 10), expected);
  }
  engine->install({"ཀ་བ་ཀ་"});
  EXPECT_EQ(engine->candidates("ཀ་བ་ཀ", 10), Words{"ཀ་བ་ཀ་"});
  // A mark that joins the end of a query that found nothing can make it find words.
  engine->install({"\u00E9x", "\u0F40\u0F71"});
  for (const auto& [shorter, longer] :
       {std::pair{"e", "\u00E9x"}, std::pair{"\u0F40", "\u0F40\u0F71"}}) {
    SCOPED_TRACE(longer);
    EXPECT_EQ(engine->candidates(shorter, 10), Words{});
  }
  EXPECT_EQ(engine->candidates("e\u0301", 10), Words{"\u00E9x"});
  EXPECT_EQ(engine->candidates("\u0F40\u0F71", 10), Words{"\u0F40\u0F71"});
}

TEST(DictionaryEngineTest, InstallReplacesTheWholeList) {
  DictionaryEngine engine;
  EXPECT_FALSE(engine.contains("ཀ་"));
  EXPECT_TRUE(engine.candidates("ཀ", 10).empty());
  engine.install(kWords);
  engine.install({"ཁ་"});
  EXPECT_EQ(engine.count(), 1u);
  EXPECT_FALSE(engine.contains("ཀ་"));
  engine.install({});
  EXPECT_EQ(engine.count(), 0u);
}

TEST(DictionaryEngineTest, QueriesDuringInstallsSeeOneWholeList) {
  const Words a = {"ཀ་", "ཀ་བ་", "ཀཀ་"};
  const Words b = {"ཀ་ཀ་", "ཀ་ཁ་"};
  DictionaryEngine engine;
  engine.install(a);
  std::atomic<bool> stop = false;
  std::thread installer([&] {
    for (int i = 0; i < 2000; ++i) engine.install(i % 2 == 0 ? b : a);
    stop = true;
  });
  int mixed = 0;
  while (!stop) {
    const auto found = engine.candidates("ཀ", 10);
    if (found != Words{"ཀ་", "ཀ་བ་", "ཀཀ་"} && found != b) ++mixed;
  }
  installer.join();
  EXPECT_EQ(mixed, 0);
}

TEST(DictionaryEngineTest, LoadCsvKeepsTheWordsOnlyAndAnUnreadableOrIllFormedFileKeepsTheList) {
  testing::TempDir dir;
  auto engine = engineWith(kWords);
  EXPECT_FALSE(engine->loadCSV(dir / "missing.csv"));
  EXPECT_EQ(engine->count(), kWords.size());
  EXPECT_FALSE(engine->loadCSV(dir.write("binary.csv", "word,x\nཀ\xFF,\n\xC0,")));
  EXPECT_EQ(engine->count(), kWords.size()) << "ill-formed UTF-8 keeps the list too";
  EXPECT_TRUE(engine->loadCSV(dir.write("words.csv", "word,x\r\nཀ་,ka\r\n\r\nཀ་\r\n ཁ་ ,")));
  EXPECT_EQ(engine->count(), 2u);
  EXPECT_EQ(engine->candidates("ཀ", 5), Words{"ཀ་"});
  EXPECT_TRUE(engine->contains("ཁ་"));
  EXPECT_FALSE(engine->loadCSV(dir.write("header.csv", "word,explanation\n")));
  EXPECT_EQ(engine->count(), 0u) << "a header alone empties the list";
}

}  // namespace
}  // namespace yakdrom
