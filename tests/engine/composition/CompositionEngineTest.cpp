#include <gtest/gtest.h>

#include <map>
#include <random>

#include "Typing.h"
#include "engine/composition/CompositionEngine.h"
#include "engine/composition/KeyCode.h"

namespace yakdrom {
namespace {

using namespace yakdrom::testing;
using CompositionEngine::handle;
using Kind = EngineOutput::Kind;

const CompositionState kWithRoot{.syllable = {.root = "\u0F40"}};

TEST(Dispatch, ShiftOptionPassesEveryKeyThroughUntouched) {
  const CompositionState states[] = {
      {}, kWithRoot, {.syllable = {.root = "\u0F40"}, .legacyMode = "m"}};
  for (const CompositionState& state : states) {
    for (std::uint16_t code : {KeyCode::kA, KeyCode::kC, KeyCode::kReturn, KeyCode::kJ, KeyCode::kM,
                               KeyCode::kSpace, KeyCode::kDelete, KeyCode::kEscape}) {
      SCOPED_TRACE(code);
      EXPECT_EQ(handle({code, ModifierLayer::shiftOption}, state),
                (CompositionEngine::Result{EngineOutput::makePassthrough(), state}));
    }
  }
}

TEST(Dispatch, ControlKeysActAlikeInEveryLayer) {
  const std::pair<std::uint16_t, EngineOutput> rows[] = {
      {KeyCode::kReturn, EngineOutput::makeCommitThenPassthrough("\u0F40")},
      {KeyCode::kTab, EngineOutput::makeCommitThenPassthrough("\u0F40")},
      {KeyCode::kSpace, EngineOutput::makeCommitThenPassthrough("\u0F40")},
      {KeyCode::kEscape, EngineOutput::makeCommit("\u0F40")},
      {KeyCode::kJ, EngineOutput::makeCommit("\u0F40\u0F0B")},
      {KeyCode::kQuote, EngineOutput::makeCommit("\u0F40\u0F0D")},
      {KeyCode::kDelete, EngineOutput::makeMarked("")},
  };
  for (ModifierLayer layer : {ModifierLayer::none, ModifierLayer::shift, ModifierLayer::option}) {
    for (const auto& [code, output] : rows) {
      SCOPED_TRACE(::testing::Message() << layerName(layer) << " " << code);
      const auto result = handle({code, layer}, kWithRoot);
      EXPECT_EQ(result.output, output);
      EXPECT_TRUE(result.state.isEmpty());
      if (code != KeyCode::kJ && code != KeyCode::kQuote && code != KeyCode::kDelete) {
        EXPECT_EQ(handle({code, layer}, {}).output.kind, Kind::passthrough);
      }
    }
  }
}

TEST(Dispatch, CharacterKeys) {
  expectSequences({
      {"\u0F40\u0F23", "\u0F40\u0F23", ""},  // a digit goes out with the syllable
      {"\u0F40\u0F2A", "\u0F40\u0F2A", ""},  // so does a half digit
      {"\u0F40?", "\u0F40", ""},             // a key without a character
      {"\u0F40\u0F4A", "\u0F40\u0F4A", ""},  // a retroflex letter typed with Shift
      {"\u0F40\u0F1F", "\u0F40\u0F1F", ""},  // a Shift-layer mark
      {"\u0F40\u0F71", "", "\u0F40\u0F71"},  // the Shift-layer length mark is a vowel
      // Option-layer characters are committed as typed, never decomposed.
      {"\u0F40\u0F73", "\u0F40\u0F73", ""},
      {"\u0F40\u0F52", "\u0F40\u0F52", ""},
      {"\u0F40\u0F9C", "\u0F40\u0F9C", ""},
      {"\u0F52", "\u0F52", ""},
  });
  EXPECT_EQ(type("\u0F40?").last.kind, Kind::commitThenPassthrough);
  EXPECT_EQ(type("?").last.kind, Kind::passthrough);
}

TEST(Consonants, SecondLetterAfterABareRoot) {
  expectSequences({
      {"\u0F40", "", "\u0F40"},
      {"\u0F40\u0F40", "\u0F40", "\u0F40"},  // ཀ ཀ: new syllable
      {"\u0F51\u0F40", "", "\u0F51\u0F40"},  // ད ཀ: prefix
      {"\u0F58\u0F41", "", "\u0F58\u0F41"},  // མ ཁ: prefix
      {"\u0F51\u0F42", "", "\u0F51\u0F42"},  // ད ག: suffix
      {"\u0F42\u0F63", "", "\u0F42\u0F63"},  // ལ is caught as a suffix
      {"\u0F66\u0F40", "\u0F66", "\u0F40"},  // ས is no prefix letter
      {"\u0F42\u0F61", "", "\u0F42\u0F61"},  // གཡ
      {"\u0F56\u0F61", "\u0F56", "\u0F61"},  // བ ཡ: ཡ could be subjoined
      {"\u0F51\u0F61", "\u0F51", "\u0F61"},
      {"\u0F42\u0F5D", "\u0F42", "\u0F5D"},              // the ག exception covers ཡ, not ཝ
      {"\u0F56\u0F40\u0F40", "\u0F56\u0F40", "\u0F40"},  // one prefix only
      {"\u0F51\u0F40\u0F42", "", "\u0F51\u0F40\u0F42"},
  });
  const Typed ga = type("\u0F42\u0F61");
  EXPECT_EQ(ga.state.syllable.prefix, "\u0F42");
  EXPECT_EQ(ga.state.syllable.root, "\u0F61");
}

TEST(Consonants, SuffixesAndSecondSuffix) {
  expectSequences({
      {"\u0F42\u0F66\u0F66", "", "\u0F42\u0F66\u0F66"},  // ས after ས
      {"\u0F40\u0F44\u0F66", "\u0F40\u0F44", "\u0F66"},  // not after ང
      {"\u0F40\u0F72\u0F42\u0F66", "", "\u0F40\u0F72\u0F42\u0F66"},
      {"\u0F40\u0F72\u0F40", "\u0F40\u0F72", "\u0F40"},  // no suffix letter after a vowel
      {"\u0F40\u0F42\u0F51", "\u0F40\u0F42", "\u0F51"},  // only ས is a second suffix
      {"\u0F40\u0F42\u0F66\u0F66", "\u0F40\u0F42\u0F66", "\u0F66"},
  });
  const Typed gas = type("\u0F42\u0F66\u0F66");
  EXPECT_EQ(gas.state.syllable.suffix, "\u0F66");
  EXPECT_EQ(gas.state.syllable.postsuffix, "\u0F66");
}

TEST(Consonants, AvoidedStackIsClearedExceptWhenAStackGrowsWithoutRoot) {
  const AvoidedStack avoided{"\u0F62", "\u0F40"};
  const CompositionState rootless{.syllable = {.free = "\u0F90"}, .avoidedStack = avoided};
  const auto grown = CompositionEngine::handleConsonant("\u0F40", rootless);
  EXPECT_EQ(grown.state.syllable.free, "\u0F90\u0F90");
  EXPECT_EQ(grown.state.avoidedStack, avoided);
  const CompositionState withRoot{.syllable = {.root = "\u0F40"}, .avoidedStack = avoided};
  EXPECT_FALSE(CompositionEngine::handleConsonant("\u0F42", withRoot).state.avoidedStack);
  const CompositionState empty{.avoidedStack = avoided};
  EXPECT_FALSE(CompositionEngine::handleConsonant("\u0F40", empty).state.avoidedStack);
}

TEST(Vowels, VowelSettlesThePendingSuffix) {
  expectSequences({
      {"\u0F40\u0F62\u0F72", "", "\u0F40\u0FB2\u0F72"},  // ཀྲི
      {"\u0F42\u0F62\u0F72", "", "\u0F42\u0FB2\u0F72"},
      {"\u0F40\u0F63\u0F72", "", "\u0F40\u0FB3\u0F72"},  // ཀླི
      {"\u0F62\u0F63\u0F72", "", "\u0F62\u0FB3\u0F72"},  // རླི
      {"\u0F4F\u0F63\u0F72", "", "\u0F4F\u0F63\u0F72"},  // ཏ is no root for ལ
      {"\u0F42\u0F66\u0F74", "", "\u0F42\u0F66\u0F74"},  // prefix ག, root ས
      {"\u0F51\u0F42\u0F7C", "", "\u0F51\u0F42\u0F7C"},
      {"\u0F56\u0F42\u0F66\u0F72", "", "\u0F56\u0F42\u0F72\u0F66"},  // second suffix moves up
      {"\u0F40\u0F62\u0F71\u0F72", "", "\u0F40\u0FB2\u0F71\u0F72"},
      {"\u0F40\u0F62\u0F72\u0F62", "", "\u0F40\u0FB2\u0F72\u0F62"},
  });
  const Typed kra = type("\u0F40\u0F62\u0F72");
  EXPECT_EQ(kra.state.syllable.subjoined, LetterList{"\u0F62"});
  EXPECT_FALSE(kra.state.syllable.suffix);
}

TEST(Vowels, SecondVowelStartsASyllableUnlessItLengthens) {
  expectSequences({
      {"\u0F40\u0F72\u0F74", "\u0F40\u0F72", "\u0F74"},
      {"\u0F40\u0F7A\u0F7C", "\u0F40\u0F7A", "\u0F7C"},
      {"\u0F40\u0F71\u0F72", "", "\u0F40\u0F71\u0F72"},
      {"\u0F40\u0F71\u0F74", "", "\u0F40\u0F71\u0F74"},
      {"\u0F40\u0F71\u0F71", "\u0F40\u0F71", "\u0F71"},
      {"\u0F40\u0F71\u0F7A", "\u0F40\u0F71", "\u0F7A"},
      {"\u0F72", "", "\u0F72"},
      {"\u0F72\u0F40", "", "\u0F40\u0F72"},  // a vowel typed first waits for its consonant
      {"\u0F40\u0F72\u0F74\u0F40", "\u0F40\u0F72", "\u0F40\u0F74"},
  });
  const Typed second = type("\u0F40\u0F72\u0F74");
  EXPECT_EQ(second.state.syllable, (SyllableModel{.free = "\u0F74"}));
}

// The re-reading makes the old root the prefix; an earlier prefix would have no slot and
// vanish from the text, so it is committed ahead of the syllable.
TEST(Vowels, PrefixPushedOutByReReadingIsCommitted) {
  expectSequences({
      {"\u0F42\u0F61\u0F66\u0F72", "\u0F42", "\u0F61\u0F66\u0F72"},
      {"\u0F51\u0F40\u0F66\u0F72", "\u0F51", "\u0F40\u0F66\u0F72"},
  });
}

TEST(Vowels, SubjoinedLettersSortByFoot) {
  LetterList subjoined{"\u0F5D", "\u0F40", "\u0F63", "\u0F61", "\u0F41", "\u0F62"};
  CompositionEngine::sortSubjoined(subjoined);
  EXPECT_EQ(subjoined, (LetterList{"\u0F61", "\u0F62", "\u0F63", "\u0F5D", "\u0F40", "\u0F41"}));
}

// Whatever base-layer letters and vowels are typed, every one of them ends up in the
// client's text, and marked text always shows the state's syllable.
TEST(Invariants, TypedLettersAreNeverLost) {
  std::vector<KeyInput> keys;
  for (const auto& [code, value] : KeyMapping::base()) {
    const char32_t c = text::firstScalar(value);
    if (c >= 0x0F40) keys.push_back({code, ModifierLayer::none});
  }
  keys.push_back({KeyCode::kA, ModifierLayer::shift});  // ◌ཱ
  std::mt19937 random(7);
  for (int run = 0; run < 3000; ++run) {
    Typed typed;
    std::map<char32_t, int> typedLetters;
    std::string trace;
    for (int k = 0; k < 10; ++k) {
      const KeyInput key = keys[random() % keys.size()];
      const std::string value = *CompositionEngine::directChar(key);
      trace += value;
      ++typedLetters[text::firstScalar(value)];
      press(typed, key);
      if (typed.last.kind == Kind::marked) {
        ASSERT_EQ(typed.last.marked, typed.state.syllable.serialized()) << trace;
      }
    }
    std::map<char32_t, int> shown;
    for (char32_t c : text::decodeUtf8(typed.committed + typed.marked)) {
      // Subjoined letters count as the letters they were typed as.
      ++shown[c == 0x0FBA ? 0x0F5D : (c >= 0x0F90 && c <= 0x0FBC ? c - 0x50 : c)];
    }
    ASSERT_EQ(shown, typedLetters) << trace;
  }
}

}  // namespace
}  // namespace yakdrom
