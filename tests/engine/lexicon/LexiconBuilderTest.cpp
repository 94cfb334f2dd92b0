#include <gtest/gtest.h>

#include "engine/lexicon/LexiconBuilder.h"

namespace yakdrom {
namespace {

using Words = std::vector<std::string>;
using Language = LexiconBuilder::Language;

TEST(LexiconBuilderTest, CleansWordsToNfcWithOneTsheg) {
  struct Case {
    const char* raw;
    const char* word;  // nullptr: rejected
  };
  const Case cases[] = {
      {"ཀ", "ཀ་"},
      {"ཀ་", "ཀ་"},
      {"ཀ་་་", "ཀ་"},
      {"ཀ༌", "ཀ་"},  // non-breaking tsheg
      {"ཀ།", "ཀ་"},  // shad closes the word, it is not part of it
      {"ཀ་།", "ཀ་"},
      {"ཀ༌ཁ", "ཀ༌ཁ་"},  // inside the word it stays
      {" \tཀ་ཁ་\r", "ཀ་ཁ་"},
      {"\u0F43་", "ག\u0FB7་"},
      {"ཀ\u0F72\u0F71", "ཀ\u0F71\u0F72་"},  // marks in canonical order
      {"", nullptr},
      {"་", nullptr},
      {"།", nullptr},
      {"ི", nullptr},    // a vowel sign cannot start a word
      {"༡༢", nullptr},  // digits are no word
      {"ཀ ཁ", nullptr},
      {"ཀ,ཁ", nullptr},
      {"ka", nullptr},
      {"ཀ\xE0\xBD", nullptr},
      {"ཀ\uFFFD", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raw);
    const auto clean = LexiconBuilder::cleanWord(c.raw);
    if (c.word == nullptr) {
      EXPECT_FALSE(clean.word);
      EXPECT_FALSE(clean.problem.empty());
    } else {
      EXPECT_EQ(clean.word, c.word);
    }
  }
}

TEST(LexiconBuilderTest, BuildsASortedUniqueWordList) {
  LexiconBuilder builder;
  builder.addWords("\xEF\xBB\xBFཁ་\nཀ\r\nཀ་\n\nཀ་བ\n\u0F43\nག\u0FB7་\nཀུ\nཀཀ", "a.txt");
  builder.addWords("ཀ་\nཨ", "b.txt");
  const auto result = builder.build();
  EXPECT_EQ(result.words, (Words{"ཀ་", "ཀ་བ་", "ཀཀ་", "ཀུ་", "ཁ་", "ག\u0FB7་", "ཨ་"}));
  EXPECT_TRUE(builder.issues().empty());
}

TEST(LexiconBuilderTest, ReportsUnusableLinesWithFileAndLineNumber) {
  LexiconBuilder builder;
  builder.addWords("ཀ་\n\nka\n  \nཁ ག\n་\nང་", "words.txt");
  builder.addExplanations(Language::english, "ཀ་\tka\nཁ་ no tab\n\nz\tzed\nང་\t \n", "en.tsv");
  const std::vector<std::pair<std::string, std::size_t>> expected = {
      {"words.txt", 3}, {"words.txt", 5}, {"words.txt", 6},
      {"en.tsv", 2},    {"en.tsv", 4},    {"en.tsv", 5},
  };
  ASSERT_EQ(builder.issues().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(builder.issues()[i].file, expected[i].first);
    EXPECT_EQ(builder.issues()[i].line, expected[i].second);
    EXPECT_FALSE(builder.issues()[i].reason.empty());
  }
  const auto result = builder.build();
  EXPECT_EQ(result.words, (Words{"ཀ་", "ང་"}));
  EXPECT_EQ(result.englishExplanations, (ExplanationMap{{"ཀ", "ka"}}));
}

// Of two explanations of one word in one language the later is kept, as in the packed
// reader; the earlier line is reported, with the place of the one that replaced it.
TEST(LexiconBuilderTest, ReportsTheExplanationALaterLineReplaces) {
  LexiconBuilder builder;
  builder.addExplanations(Language::chinese, "ཀ་བ་\t柱子\rཁ་\tཁ\rཀ་བ\t柱\n", "zh.tsv");
  builder.addExplanations(Language::chinese, "ཀ་བ་་\t柱头\n", "more.tsv");
  builder.addExplanations(Language::english, "ཀ་བ་\tpillar\n", "en.tsv");
  const std::vector<LexiconIssue> expected = {
      {"zh.tsv", 1, "duplicate explanation of ཀ་བ་; the later one (zh.tsv:3) is kept"},
      {"zh.tsv", 3, "duplicate explanation of ཀ་བ་; the later one (more.tsv:1) is kept"},
  };
  EXPECT_EQ(builder.issues(), expected);
  const auto result = builder.build();
  EXPECT_EQ(result.chineseExplanations, (ExplanationMap{{"ཀ་བ", "柱头"}, {"ཁ", "ཁ"}}));
  EXPECT_EQ(result.englishExplanations, (ExplanationMap{{"ཀ་བ", "pillar"}}));
}

TEST(LexiconBuilderTest, KeysExplanationsByKeyFormPerLanguage) {
  LexiconBuilder builder;
  builder.addExplanations(Language::tibetan, "ཀ\tགསལ་བྱེད།\n", "bo.tsv");
  builder.addExplanations(Language::chinese, "ཀ་བ\t 柱 \r\n", "zh.tsv");
  builder.addExplanations(Language::english, "\u0F43་\tgha\tletter\n", "en.tsv");
  const auto result = builder.build();
  EXPECT_EQ(result.words, (Words{"ཀ་", "ཀ་བ་", "ག\u0FB7་"}));  // explained words are listed
  EXPECT_EQ(result.explanations, (ExplanationMap{{"ཀ", "གསལ་བྱེད།"}}));
  EXPECT_EQ(result.chineseExplanations, (ExplanationMap{{"ཀ་བ", "柱"}}));
  EXPECT_EQ(result.englishExplanations, (ExplanationMap{{"ག\u0FB7", "gha\tletter"}}));
  EXPECT_TRUE(builder.issues().empty());
}

}  // namespace
}  // namespace yakdrom
