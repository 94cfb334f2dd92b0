#include <gtest/gtest.h>

#include "Typing.h"
#include "engine/composition/CompositionEngine.h"

namespace yakdrom {
namespace {

using namespace yakdrom::testing;
using Kind = EngineOutput::Kind;

const AvoidedStack kAvoided{"\u0F62", "\u0F40"};

TEST(Separators, CommitTheSyllableOrThemselves) {
  expectSequences({
      {"\u0F0B", "\u0F0B", ""},
      {"\u0F0B\u0F0B", "\u0F0B\u0F0B", ""},
      {"\u0F40\u0F0B", "\u0F40\u0F0B", ""},
      {"\u0F40\u0F72\u0F0D", "\u0F40\u0F72\u0F0D", ""},
      {"\u0F40\u0F62\u0F72\u0F0B\u0F42", "\u0F40\u0FB2\u0F72\u0F0B", "\u0F42"},
  });
}

TEST(Flushing, CommitKeysOnEmptyAndNonEmptySyllables) {
  const std::pair<char, Kind> keys[] = {{kReturn, Kind::commitThenPassthrough},
                                        {kTab, Kind::commitThenPassthrough},
                                        {' ', Kind::commitThenPassthrough},
                                        {kEscape, Kind::commit}};
  for (const auto& [key, kind] : keys) {
    SCOPED_TRACE(static_cast<int>(key));
    const Typed empty = type(std::string(1, key));
    EXPECT_EQ(empty.last.kind, Kind::passthrough);
    const Typed full = type("\u0F40" + std::string(1, key));
    EXPECT_EQ(full.last.kind, kind);
    EXPECT_EQ(full.committed, "\u0F40");
    EXPECT_TRUE(full.state.isEmpty());
  }
}

TEST(Flushing, AvoidedStackSurvivesCommitsButNotSeparators) {
  const CompositionState state{.syllable = {.root = "\u0F40"}, .avoidedStack = kAvoided};
  EXPECT_EQ(CompositionEngine::flushBuffer(state, true).state.avoidedStack, kAvoided);
  EXPECT_EQ(CompositionEngine::flushWith(state, "\u0F23").state.avoidedStack, kAvoided);
  EXPECT_EQ(CompositionEngine::flushWith({}, "\u0F23").output, EngineOutput::makeCommit("\u0F23"));
  EXPECT_FALSE(CompositionEngine::handleSeparator("\u0F0B", state).state.avoidedStack);
  EXPECT_FALSE(CompositionEngine::handleVowel("\u0F72", state).state.avoidedStack);
}

TEST(Delete, TakesTheSyllableApartOnePieceAtATime) {
  expectSequences({
      {"\u0F40\u0F62<", "", "\u0F40"},
      {"\u0F40\u0F62<<", "", ""},
      {"\u0F40\u0F62\u0F72<", "", "\u0F40\u0FB2"},  // the vowel goes, ར stays subjoined
      {"\u0F40\u0F62\u0F72<<", "", "\u0F40"},
      {"\u0F51\u0F40<", "", "\u0F51"},  // the prefix becomes the root again
      {"\u0F40\u0F72\u0F42\u0F66<", "", "\u0F40\u0F72\u0F42"},
      {"\u0F40\u0F72\u0F42<", "", "\u0F40\u0F72"},  // the suffix, not the vowel before it
      {"\u0F56\u0F42\u0F66\u0F72<", "", "\u0F56\u0F42\u0F72"},
  });
  const Typed gone = type("\u0F40\u0F62<<<");
  EXPECT_EQ(gone.last.kind, Kind::passthrough);
  EXPECT_TRUE(gone.state.isEmpty());
}

TEST(Delete, OrderOfPieces) {
  CompositionState state{.syllable = {.prefix = "\u0F56",
                                      .superscript = "\u0F62",
                                      .root = "\u0F40",
                                      .subjoined = {"\u0F61"},
                                      .vowels = {"\u0F72"},
                                      .suffix = "\u0F42",
                                      .postsuffix = "\u0F66",
                                      .free = "\u0F68\u0FB2"},
                         .avoidedStack = kAvoided};
  const char* const marked[] = {
      "\u0F56\u0F62\u0F90\u0FB1\u0F68\u0F72\u0F42\u0F66",  // free loses ྲ, one scalar
      "\u0F56\u0F62\u0F90\u0FB1\u0F72\u0F42\u0F66",        // then ཨ
      "\u0F56\u0F62\u0F90\u0FB1\u0F72\u0F42",              // second suffix
      "\u0F56\u0F62\u0F90\u0FB1\u0F72",                    // suffix
      "\u0F56\u0F62\u0F90\u0FB1",                          // vowel
      "\u0F56\u0F62\u0F90",                                // subjoined letter
      "\u0F56\u0F62",                                      // root under the head letter
      "\u0F56",                                            // root, the prefix takes its place
      "",                                                  // the prefix, now root
  };
  for (std::size_t k = 0; k < std::size(marked); ++k) {
    SCOPED_TRACE(k);
    const auto result = CompositionEngine::handleDelete(state);
    EXPECT_EQ(result.output, EngineOutput::makeMarked(marked[k]));
    state = result.state;
    if (k == 6) {
      EXPECT_EQ(state.avoidedStack, (AvoidedStack{"\u0F62", "\u0F40"}));
    } else {
      EXPECT_FALSE(state.avoidedStack);
    }
  }
  EXPECT_TRUE(state.syllable.isEmpty());
  EXPECT_EQ(CompositionEngine::handleDelete(state).output, EngineOutput::makePassthrough());
}

TEST(Delete, HeadLetterWithoutRootBecomesTheRoot) {
  const CompositionState state{.syllable = {.superscript = "\u0F66"}, .avoidedStack = kAvoided};
  const auto result = CompositionEngine::handleDelete(state);
  EXPECT_EQ(result.state.syllable, (SyllableModel{.root = "\u0F66"}));
  EXPECT_FALSE(result.state.avoidedStack);
}

}  // namespace
}  // namespace yakdrom
