#include <gtest/gtest.h>

#include "engine/learning/TemporaryFolder.h"
#include "ime/controller/CandidateAssembly.h"

namespace yakdrom {
namespace {

using Words = std::vector<std::string>;

TEST(CandidateAssemblyTest, ParticleSuggestionsFitThePreviousSyllableAndTheMarkedText) {
  const Words bod = {"བོད་ཀྱི་", "བོད་ཀྱིས་", "བོད་དུ་"};
  struct Case {
    const char* base;
    const char* marked;
    std::optional<Words> expected;
  };
  const std::vector<Case> cases = {
      {"བོད་", "", bod},
      {"ཀ་བོད་", "", bod},
      {"བོད་", "དུ", Words{"བོད་དུ་"}},
      {"བོད་", "ཀྱི", Words{"བོད་ཀྱི་", "བོད་ཀྱིས་"}},
      {"བོད་", "ཀྱིས་", Words{"བོད་ཀྱིས་"}},
      // A bare letter does not begin the letter that carries a vowel sign.
      {"བོད་", "ད", std::nullopt},
      // A particle that does not fit the syllable still asks for the fitting ones.
      {"བོད་", "སུ", bod},
      {"བོད་", "སུ་", bod},
      {"བོད་", "ཁ", std::nullopt},
      {"བོད", "", std::nullopt},
      {"བོད།", "", std::nullopt},
      {"ཀ་་", "", std::nullopt},
      {"ཀ་", "", std::nullopt},
      {"བོ་", "", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " + " + c.marked);
    EXPECT_EQ(particleSuggestions(c.base, c.marked), c.expected);
  }
}

TEST(CandidateAssemblyTest, SeparatorsCountOnlyAsWholeCharacters) {
  EXPECT_TRUE(endsWithSeparator("བོད།"));
  EXPECT_FALSE(endsWithSeparator("བོད་\u0F71"));
  EXPECT_EQ(textAfterLastSeparator("ཀ་བོད།ཁ"), "ཁ");
  EXPECT_EQ(textAfterLastSeparator("ཀ་\u0F71བོད"), std::nullopt);
}

TEST(CandidateAssemblyTest, ContextFactsAnswerWhatTheRulesAskOfTheContext) {
  struct Case {
    const char* base;
    std::size_t characters;
    std::optional<std::string_view> tail;
    std::optional<std::string> lead;
    std::optional<Words> forms;
  };
  const std::vector<Case> cases = {
      {"", 0, std::nullopt, std::nullopt, std::nullopt},
      {"ཀ་བོད་", 5, "", "བོད་", Words{"བོད་ཀྱི་", "བོད་ཀྱིས་", "བོད་དུ་"}},
      {"བོད།ཁ", 4, "ཁ", std::nullopt, std::nullopt},
      {"ཀ་\u0F71བོད", 4, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.base);
    const ContextFacts facts = contextFacts(c.base);
    EXPECT_EQ(facts.base, c.base);
    EXPECT_EQ(facts.characters, c.characters);
    const std::string_view base = c.base;
    EXPECT_EQ(
        facts.afterSeparator ? std::optional(base.substr(*facts.afterSeparator)) : std::nullopt,
        c.tail);
    EXPECT_EQ(facts.lead, c.lead);
    EXPECT_EQ(facts.forms, c.forms);
  }
}

TEST(CandidateAssemblyTest, ContextKeepsItsLastSixtyCharactersFromASeparatorOn) {
  const auto repeat = [](std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
  };
  const std::string sixty = repeat("ཀ", 60);
  struct Case {
    const char* name;
    std::string context;
    std::string kept;
  };
  const std::vector<Case> cases = {
      {"sixty characters", sixty, sixty},
      {"no separator in the last sixty", "ཁ" + sixty, sixty},
      {"tsheg 15th of the last sixty", repeat("ཁ", 10) + repeat("ཀ", 14) + "་" + repeat("ག", 45),
       repeat("ག", 45)},
      {"first separator wins", repeat("ཁ", 11) + "།" + repeat("ཀ", 48) + "་ག",
       repeat("ཀ", 48) + "་ག"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(trimmedContext(c.context), c.kept);
  }
}

TEST(CandidateAssemblyTest, MergedCandidatesPutLearntWordsFirstWithinTheLimit) {
  testing::TemporaryFolder folder;
  UserDictionary learnt(folder / "words.txt");
  learnt.learn("བོད་སྐད་");
  learnt.learn("བོད་སྐད་");
  learnt.learn("བོད་ཁ་");
  DictionaryEngine lexicon;
  lexicon.install({"བོད་", "བོད་པ་", "བོད་སྐད་"});
  const std::vector<std::pair<std::int64_t, Words>> cases = {
      {10, {"བོད་སྐད་", "བོད་ཁ་", "བོད་", "བོད་པ་"}},
      {3, {"བོད་སྐད་", "བོད་ཁ་", "བོད་"}},
      {2, {"བོད་སྐད་", "བོད་ཁ་"}},
  };
  for (const auto& [limit, expected] : cases) {
    SCOPED_TRACE(limit);
    EXPECT_EQ(mergedCandidates(learnt, lexicon, "བོ", limit), expected);
    // Room left by an earlier list, among it a word this one takes: only the words written
    // count, and the rest stays untouched.
    Words room = {"ཁ་", "ཁ་", "ཁ་", "ཁ་", "བོད་", "ཁ་"};
    const std::size_t count = mergedCandidatesInto(learnt, lexicon, "བོ", limit, room);
    ASSERT_EQ(count, expected.size());
    EXPECT_EQ(Words(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(count)), expected);
    EXPECT_EQ(room.size(), 6u);
    EXPECT_EQ(room.back(), "ཁ་");
  }
  EXPECT_EQ(mergedCandidates(learnt, lexicon, "པ", 10), Words{});
}

}  // namespace
}  // namespace yakdrom
