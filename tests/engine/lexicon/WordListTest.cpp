#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lexicon/WordList.h"

namespace yakdrom {
namespace {

using Views = std::vector<std::string_view>;

Views viewsOf(const WordList& list) { return Views(list.begin(), list.end()); }

TEST(WordListTest, HoldsTheWordsInOrderWithEmptyAndRepeatedOnes) {
  const std::vector<std::string> words = {"ཀ་", "", "ཀ་བ་", "ཀ་", "a"};
  const WordList fromVector(words);
  const WordList fromList{"ཀ་", "", "ཀ་བ་", "ཀ་", "a"};
  EXPECT_EQ(fromVector, fromList);
  ASSERT_EQ(fromVector.size(), words.size());
  for (std::size_t k = 0; k < words.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(fromVector[k], words[k]);
  }
  EXPECT_EQ(viewsOf(fromVector), Views(words.begin(), words.end()));
  EXPECT_EQ(fromVector.end() - fromVector.begin(), 5);
  EXPECT_EQ(fromVector.begin()[2], "ཀ་བ་");
}

TEST(WordListTest, EqualityComparesWordsNotJustTheirBytes) {
  EXPECT_NE((WordList{"ab", "c"}), (WordList{"a", "bc"}));
  EXPECT_NE((WordList{"a"}), (WordList{"a", ""}));
  const WordList list{"ཀ་", "ཁ་"};
  WordList copy;
  copy = list;
  EXPECT_EQ(copy, list);
  EXPECT_EQ(viewsOf(copy), (Views{"ཀ་", "ཁ་"}));
}

TEST(WordListTest, EveryEmptyListIsTheSame) {
  WordList::Builder builder;
  const WordList built = builder.build();
  const WordList none{};
  for (const WordList* list : {&built, &none}) {
    EXPECT_TRUE(list->empty());
    EXPECT_EQ(list->size(), 0u);
    EXPECT_TRUE(list->begin() == list->end());
    EXPECT_EQ(*list, WordList());
  }
}

TEST(WordListTest, IllFormedWordsReadAsReplacementCharacters) {
  struct Case {
    std::string raw;
    std::string word;
  };
  const Case cases[] = {
      {"a\xFF"
       "b",
       "a\uFFFDb"},
      {"ཀ\xE0\xBD", "ཀ\uFFFD"},                // a sequence cut short
      {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // a surrogate
      {"\uFFFD་", "\uFFFD་"},                  // a real U+FFFD stays as it is
  };
  WordList::Builder builder;
  for (const auto& c : cases) ASSERT_TRUE(builder.append(c.raw));
  const WordList list = builder.build();
  ASSERT_EQ(list.size(), std::size(cases));
  for (std::size_t k = 0; k < list.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(list[k], cases[k].word);
  }
}

// Enough text to leave the small heap blocks for huge-page ones, with and without a reserve,
// so growing moves the words between both kinds of memory.
TEST(WordListTest, BuilderKeepsEveryWordAcrossGrowth) {
  std::vector<std::string> words;
  words.reserve(150000);
  for (int i = 0; i < 150000; ++i) words.push_back("ཀ་" + std::to_string(i) + "་");
  for (const bool reserved : {false, true}) {
    SCOPED_TRACE(reserved ? "reserved" : "grown");
    WordList::Builder builder;
    if (reserved) builder.reserve(words.size(), words.size() * 12);
    for (const auto& word : words) ASSERT_TRUE(builder.append(word));
    EXPECT_EQ(builder.size(), words.size());
    const WordList list = builder.build();
    EXPECT_EQ(builder.size(), 0u) << "the builder starts over";
    EXPECT_EQ(viewsOf(list), Views(words.begin(), words.end()));
  }
}

TEST(WordListTest, IteratorsBisectLikeTheWordsThemselves) {
  const WordList list{"ཀ", "ཀ་", "ཀ་བ་", "ཁ་", "ང་"};
  for (const std::string_view query : {"", "ཀ་", "ཀ་ཀ", "ཁ", "ཨ"}) {
    SCOPED_TRACE(query);
    const auto views = viewsOf(list);
    EXPECT_EQ(std::lower_bound(list.begin(), list.end(), query) - list.begin(),
              std::lower_bound(views.begin(), views.end(), query) - views.begin());
  }
}

}  // namespace
}  // namespace yakdrom
