#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/text/Text.h"
#include "ime/controller/CandidateAssembly.h"
#include "ime/controller/CommittedContext.h"

namespace yakdrom {
namespace {

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

std::vector<std::size_t> startsOf(std::string_view text) {
  std::vector<std::size_t> starts;
  for (const auto character : text::characters(text)) {
    starts.push_back(static_cast<std::size_t>(character.data() - text.data()));
  }
  return starts;
}

TEST(CommittedContext, KeepsItsLastSixtyCharactersFromASeparatorOn) {
  const std::string sixty = repeat("ཀ", 60);
  const struct {
    const char* name;
    std::string appended;
    std::string kept;
  } cases[] = {
      {"sixty characters", sixty, sixty},
      {"no separator in the last sixty", "ཁ" + sixty, sixty},
      {"tsheg 15th of the last sixty", repeat("ཁ", 10) + repeat("ཀ", 14) + "་" + repeat("ག", 45),
       repeat("ག", 45)},
      {"first separator wins", repeat("ཁ", 11) + "།" + repeat("ཀ", 48) + "་ག",
       repeat("ཀ", 48) + "་ག"},
      {"a separator last leaves nothing", repeat("ཁ", 60) + "།", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CommittedContext context;
    context.append(c.appended);
    EXPECT_EQ(context.text(), c.kept);
    EXPECT_EQ(context.characterStarts(), startsOf(context.text()));
  }
}

// The boundaries kept from commit to commit, and what a key's text adds to the context, are
// those of breaking the whole text anew, even where an appended mark joins the last
// character (a separator carrying a mark is no separator) or a cut falls among pairs of
// flags, emoji sequences or stacked letters.
TEST(CommittedContext, KeptBoundariesAreThoseOfTheWholeText) {
  const std::vector<std::string> pieces = {"ཀ",  "བོད", "་",      "།",  "\u0F71", "\u0F72", "ྐ",
                                           "སྐད", "a",  " ",      "\n", "\u0301", "e",      "🇨",
                                           "🇳",  "👩",  "\u200D", "💻",  "\u0F39", "\u0F7E"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(1, 4);
  CommittedContext context;
  for (int step = 0; step < 3000; ++step) {
    std::string committed;
    for (int n = length(random); n > 0; --n) committed += pieces[pick(random)];
    const std::string before = context.text();
    const auto version = context.version();
    context.append(committed);
    SCOPED_TRACE(before + " + " + committed);
    ASSERT_NE(context.version(), version);
    CommittedContext whole;
    whole.append(before + committed);
    ASSERT_EQ(context.text(), whole.text());
    ASSERT_LE(context.characterStarts().size(), CommittedContext::kMaxCharacters);
    ASSERT_EQ(context.characterStarts(), startsOf(context.text()));

    const std::string joined = context.text() + pieces[pick(random)] + pieces[pick(random)];
    const auto characters = text::characters(joined);
    const auto continuation = context.continuation(joined);
    const std::size_t count = context.characterStarts().size();
    const auto startOf = [&](std::string_view c) {
      return static_cast<std::size_t>(c.data() - joined.data());
    };
    ASSERT_EQ(continuation.afterContext,
              count == 0 ? std::string_view(joined)
              : count < characters.size()
                  ? std::string_view(joined).substr(startOf(characters[count]))
                  : std::string_view{});
    const auto separator = std::find_if(characters.rbegin(), characters.rend(), isSeparator);
    ASSERT_EQ(continuation.afterLastSeparator,
              separator == characters.rend()
                  ? std::nullopt
                  : std::optional(startOf(*separator) + separator->size()));
  }
}

}  // namespace
}  // namespace yakdrom
