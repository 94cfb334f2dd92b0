#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/learning/UserWords.h"

namespace yakdrom {
namespace {

using Reference = std::map<std::string, std::int64_t>;

Reference contentOf(const UserWords& words) {
  Reference out;
  for (const auto& [word, freq] : words) out.emplace(word, freq);
  return out;
}

Reference largest(const std::vector<UserWord>& entries) {
  Reference out;
  for (const auto& [word, freq] : entries) {
    auto [it, added] = out.emplace(word, freq);
    if (!added) it->second = std::max(it->second, freq);
  }
  return out;
}

bool isStrictlySorted(const UserWords& words) {
  return std::adjacent_find(words.begin(), words.end(), [](const auto& a, const auto& b) {
           return !(a.word < b.word);
         }) == words.end();
}

// Words with long shared beginnings, as Tibetan words have, so that order is decided late.
std::string randomWord(std::mt19937& rng) {
  static const char* const kPieces[] = {"ཀ", "ཁ", "ག", "ྱ", "ི", "ུ", "་", "a", "ཀ་ཀ"};
  std::string word;
  for (unsigned k = 0, n = 1 + rng() % 5; k < n; ++k) word += kPieces[rng() % std::size(kPieces)];
  return word;
}

UserWords built(const std::vector<UserWord>& entries) {
  UserWords::Builder builder(std::make_shared<const detail::LargeString>(), entries.size());
  for (const UserWord& entry : entries) builder.add(entry.word, entry.freq);
  return std::move(builder).build();
}

// The builder sorts once, merging the sorted runs it is given; whatever the order and
// whatever the runs, the table must hold each word once with its largest frequency.
TEST(UserWords, BuilderSortsAnyOrderAndKeepsTheLargestFrequency) {
  std::mt19937 rng(3);
  std::vector<std::string> pool;
  for (int k = 0; k < 3000; ++k) pool.push_back(randomWord(rng));
  std::vector<UserWord> entries;
  for (const std::string& word : pool) {
    entries.push_back({word, static_cast<std::int64_t>(1 + rng() % 40)});
  }
  const auto byWord = [](const UserWord& a, const UserWord& b) { return a.word < b.word; };
  const auto byEntryOrder = [](const UserWord& a, const UserWord& b) {
    return a.freq != b.freq ? a.freq > b.freq : a.word < b.word;
  };
  struct Order {
    const char* name;
    std::function<void(std::vector<UserWord>&)> arrange;
  };
  const Order orders[] = {
      {"as drawn", [](auto&) {}},
      {"sorted", [&](auto& v) { std::sort(v.begin(), v.end(), byWord); }},
      {"reversed", [&](auto& v) { std::sort(v.rbegin(), v.rend(), byWord); }},
      {"entry order", [&](auto& v) { std::sort(v.begin(), v.end(), byEntryOrder); }},
      {"one word", [](auto& v) { v.resize(1); }},
      {"none", [](auto& v) { v.clear(); }},
  };
  for (const Order& order : orders) {
    SCOPED_TRACE(order.name);
    std::vector<UserWord> arranged = entries;
    order.arrange(arranged);
    const UserWords words = built(arranged);
    EXPECT_EQ(contentOf(words), largest(arranged));
    EXPECT_TRUE(isStrictlySorted(words));
  }
}

TEST(UserWords, SetAddsInOrderAndWordsStayReadableAsTheTableGrows) {
  UserWords words{{"ཁ", 2}};
  std::mt19937 rng(5);
  Reference expected{{"ཁ", 2}};
  std::vector<std::pair<std::string_view, std::string>> seen;  // views kept since their set()
  for (int k = 0; k < 20000; ++k) {
    const std::string word = randomWord(rng) + std::to_string(k % 700);
    const UserWord& entry = words.set(word, k + 1);
    expected[word] = k + 1;
    if (k % 97 == 0) seen.emplace_back(entry.word, word);
  }
  EXPECT_EQ(contentOf(words), expected);
  EXPECT_TRUE(isStrictlySorted(words));
  for (const auto& [view, word] : seen) EXPECT_EQ(view, word);

  ASSERT_NE(words.find("ཁ"), nullptr);
  EXPECT_EQ(words.find("ཁ")->freq, 2);
  EXPECT_EQ(words.find("ཁཁཁཁཁཁ"), nullptr);
  EXPECT_EQ(words.lowerBound(""), words.begin());
  EXPECT_EQ(words.lowerBound("\xF4"), words.end());
}

// The writer renders a copy on its own thread while learning goes on in the original: the
// copy must keep what it held, however the original changes or when it is gone.
TEST(UserWords, CopyKeepsItsContentWhileTheOriginalChangesOrGoes) {
  auto original = std::make_unique<UserWords>(UserWords{{"ཀ", 1}, {"ག", 3}});
  original->set("ཁ", 2);
  const UserWords copy = *original;
  const Reference before = contentOf(copy);
  for (int k = 0; k < 5000; ++k) original->set("ང" + std::to_string(k), k + 1);
  original->set("ཀ", 9);
  UserWords second = copy;
  second.set("ཅ", 4);
  EXPECT_EQ(contentOf(*original).size(), 5003U);
  original.reset();
  EXPECT_EQ(contentOf(copy), before);
  EXPECT_EQ(copy, (UserWords{{"ཀ", 1}, {"ཁ", 2}, {"ག", 3}}));
  EXPECT_EQ(contentOf(second), (Reference{{"ཀ", 1}, {"ཁ", 2}, {"ག", 3}, {"ཅ", 4}}));
}

TEST(UserWords, MergeKeepingLargerAddsMissingWordsAndRaisesOthers) {
  std::mt19937 rng(9);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    std::vector<UserWord> mine;
    std::vector<UserWord> theirs;
    std::vector<std::string> pool;
    for (int k = 0; k < 400; ++k) pool.push_back(randomWord(rng));
    for (const std::string& word : pool) {
      const auto freq = static_cast<std::int64_t>(1 + rng() % 9);
      (rng() % 3 == 0 ? mine : theirs).push_back({word, freq});
    }
    // Some rounds merge nothing new, so that "unchanged" is tested too.
    if (round % 5 == 0) theirs = mine;
    UserWords words = built(mine);
    std::vector<UserWord> both = mine;
    both.insert(both.end(), theirs.begin(), theirs.end());
    const Reference expected = largest(both);
    const bool changed = words.mergeKeepingLarger(built(theirs));
    EXPECT_EQ(changed, expected != largest(mine));
    EXPECT_EQ(contentOf(words), expected);
    EXPECT_TRUE(isStrictlySorted(words));
  }
}

TEST(UserWords, UpdateSetsAddsAndDeletesInOnePass) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::string> pool;
    for (int k = 0; k < 300; ++k) pool.push_back(randomWord(rng));
    std::vector<UserWord> stored;
    Reference expected;
    for (const std::string& word : pool) {
      if (rng() % 2 == 0) continue;
      stored.push_back({word, 5});
      expected[word] = 5;
    }
    UserWords words = built(stored);
    Reference updates;  // 0 deletes, whether or not the word is stored
    for (const std::string& word : pool) {
      if (rng() % 3 == 0) updates[word] = static_cast<std::int64_t>(rng() % 4);
    }
    std::vector<UserWord> sorted;
    for (const auto& [word, freq] : updates) {
      sorted.push_back({word, freq});
      if (freq == 0) {
        expected.erase(word);
      } else {
        expected[word] = freq;
      }
    }
    words.update(sorted);
    EXPECT_EQ(contentOf(words), expected);
    EXPECT_TRUE(isStrictlySorted(words));
  }
}

}  // namespace
}  // namespace yakdrom
