#include <gtest/gtest.h>

#include "engine/learning/TemporaryFolder.h"
#include "engine/text/Text.h"
#include "ime/controller/CandidateAssembly.h"

namespace yakdrom {
namespace {

using Words = std::vector<std::string>;

TEST(CandidateAssemblyTest, ParticleSuggestionsFitThePreviousSyllableAndTheMarkedText) {
  const Words bod = {"བོད་ཀྱི་", "བོད་ཀྱིས་", "བོད་དུ་"};
  struct Case {
    const char* base;
    const char* marked;
    Words expected;
  };
  const std::vector<Case> cases = {
      {"བོད་", "", bod},
      {"ཀ་བོད་", "", bod},
      {"བོད་", "དུ", Words{"བོད་དུ་"}},
      {"བོད་", "ཀྱི", Words{"བོད་ཀྱི་", "བོད་ཀྱིས་"}},
      {"བོད་", "ཀྱིས་", Words{"བོད་ཀྱིས་"}},
      // A bare letter does not begin the letter that carries a vowel sign.
      {"བོད་", "ད", {}},
      // A particle that does not fit the syllable still asks for the fitting ones.
      {"བོད་", "སུ", bod},
      {"བོད་", "སུ་", bod},
      {"བོད་", "ཁ", {}},
      {"བོད", "", {}},
      {"བོད།", "", {}},
      {"ཀ་་", "", {}},
      {"ཀ་", "", {}},
      {"བོ་", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " + " + c.marked);
    EXPECT_EQ(particleSuggestions(c.base, c.marked), c.expected);
  }
}

TEST(CandidateAssemblyTest, SeparatorsCountOnlyAsWholeCharacters) {
  EXPECT_TRUE(endsWithSeparator("བོད།"));
  EXPECT_FALSE(endsWithSeparator("བོད་\u0F71"));
}

// Each context's facts are also worked out into those of the context before, as the
// controller does, so nothing of an earlier context may linger.
TEST(CandidateAssemblyTest, ContextFactsAnswerWhatTheRulesAskOfTheContext) {
  struct Case {
    const char* base;
    std::optional<std::string_view> tail;
    std::string lead;
    Words forms;
  };
  const std::vector<Case> cases = {
      {"", std::nullopt, "", {}}, {"ཀ་བོད་", "", "བོད་", Words{"བོད་ཀྱི་", "བོད་ཀྱིས་", "བོད་དུ་"}},
      {"ཀ་བོ་", "", "བོ་", {}},     {"ཀ་ཁང་", "", "ཁང་", Words{"ཁང་དུ་"}},
      {"བོད།ཁ", "ཁ", "", {}},      {"ཀ་\u0F71བོད", std::nullopt, "", {}},
  };
  ContextFacts reused;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.base);
    const std::string_view base = c.base;
    std::vector<std::size_t> starts;
    for (const auto character : text::characters(base)) {
      starts.push_back(static_cast<std::size_t>(character.data() - base.data()));
    }
    contextFactsInto(base, starts, reused);
    for (const ContextFacts& facts : {contextFacts(base), reused}) {
      EXPECT_EQ(
          facts.afterSeparator ? std::optional(base.substr(*facts.afterSeparator)) : std::nullopt,
          c.tail);
      EXPECT_EQ(facts.lead, c.lead);
      EXPECT_EQ(facts.forms, c.forms);
    }
  }
}

TEST(CandidateAssemblyTest, MergedCandidatesPutLearntWordsFirstWithinTheLimit) {
  testing::TemporaryFolder folder;
  UserDictionary learnt(folder / "words.txt");
  learnt.learn("བོད་སྐད་");
  learnt.learn("བོད་སྐད་");
  learnt.learn("བོད་ཁ་");
  DictionaryEngine lexicon;
  // A word the lexicon lists twice, once learnt too, is offered once.
  lexicon.install({"བོད་", "བོད་", "བོད་པ་", "བོད་སྐད་", "བོད་སྐད་"});
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
    Words room = {"ཁ་", "ཁ་", "ཁ་", "ཁ་", "བོད་", "ཁ་", "ཁ་", "ཁ་"};
    const std::size_t count = mergedCandidatesInto(learnt, lexicon, "བོ", limit, room);
    ASSERT_EQ(count, expected.size());
    EXPECT_EQ(Words(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(count)), expected);
    EXPECT_EQ(room.size(), 8u);
    EXPECT_EQ(room.back(), "ཁ་");
  }
  EXPECT_EQ(mergedCandidates(learnt, lexicon, "པ", 10), Words{});
}

}  // namespace
}  // namespace yakdrom
