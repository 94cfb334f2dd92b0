#include <gtest/gtest.h>

#include "Typing.h"
#include "engine/composition/KeyCode.h"
#include "engine/composition/LegacyModes.h"

namespace yakdrom {
namespace {

using namespace yakdrom::testing;
using Kind = EngineOutput::Kind;

TEST(DeadKeyModes, MMakesSubjoinedLettersAndMarks) {
  expectSequences({
      {"\u0F66m\u0F40", "", "\u0F66\u0F90"},              // སྐ
      {"\u0F66m\u0F40\u0F61", "", "\u0F66\u0F90\u0FB1"},  // then ཡ stacks by itself
      {"\u0F66m\u0F40\u0F61\u0F5D", "", "\u0F66\u0F90\u0FB1\u0FAD"},
      {"\u0F40m\u0F74", "", "\u0F40\u0FAD"},
      {"\u0F58m\u0F5D", "", "\u0F58\u0FBA"},  // ཝ takes the form its root wants
      {"\u0F40m\u0F5D", "", "\u0F40\u0FAD"},
      {"\u0F40m\u0F23", "", "\u0F40\u0F7E"},
      {"\u0F40m\u0F23\u0F72", "", "\u0F40\u0F72\u0F7E"},  // the mark stays after the vowel
      {"\u0F40m\u0F0B", "", "\u0F40\u0F84"},              // tsheg gives a sign, not a commit
      {"m\u0F40\u0F40", "", "\u0F90\u0F90"},              // a rootless stack keeps growing
      {"mm", "", "\u0F85"},
      {"\u0F51Mm", "", "\u0F51\u0FA2"},
      {"Mm", "", "\u0FA1\u0FB7"},  // standing alone it is decomposed
      {"M\u0F64", "", "\u0F4C\u0FB7"},
  });
}

TEST(DeadKeyModes, EnteringMovesAVowellessSuffixToFree) {
  const Typed typed = type("\u0F56\u0F66m");
  EXPECT_EQ(typed.marked, "\u0F56\u0F66");
  EXPECT_EQ(typed.state.syllable, (SyllableModel{.root = "\u0F56", .free = "\u0F66"}));
  EXPECT_EQ(typed.state.legacyMode, "m");
  EXPECT_EQ(type("\u0F56\u0F66m\u0F40\u0F72").marked, "\u0F56\u0F66\u0F90\u0F72");
  const Typed withVowel = type("\u0F56\u0F72\u0F66M");
  EXPECT_EQ(withVowel.state.syllable.suffix, "\u0F66");
  EXPECT_EQ(withVowel.state.legacyMode, "M");
}

TEST(DeadKeyModes, KeysOutsideTheTableEndTheModeAndActNormally) {
  expectSequences({
      {"\u0F40m ", "\u0F40", ""},
      {"\u0F40m<", "", ""},
      {"\u0F40m\u0F4A", "\u0F40\u0F4A", ""},  // Shift ཊ has no entry
      {"\u0F40m\u0F9C", "\u0F40\u0F9C", ""},  // nor has an Option-layer character
      {"\u0F40M\u0F41", "\u0F40", "\u0F41"},
      {"\u0F40m?", "\u0F40", ""},
  });
  const Typed space = type("m ");
  EXPECT_EQ(space.last.kind, Kind::passthrough);
  EXPECT_TRUE(space.state.isEmpty());
  EXPECT_EQ(type("mM").state.legacyMode, "M");  // Shift+M re-enters its own mode
  EXPECT_EQ(type("MM").state.legacyMode, "M");
  EXPECT_FALSE(type("mm").state.legacyMode);
}

TEST(DeadKeyModes, ShiftOptionKeepsTheModeOnlyThroughTheEngine) {
  const CompositionState state{.syllable = {.root = "\u0F40"}, .legacyMode = "m"};
  const KeyInput key{KeyCode::kDelete, ModifierLayer::shiftOption};
  EXPECT_EQ(CompositionEngine::handle(key, state).state, state);
  const auto direct = LegacyModes::handle(key, state);
  EXPECT_EQ(direct.output, EngineOutput::makePassthrough());
  EXPECT_FALSE(direct.state.legacyMode);
}

TEST(DeadKeyModes, NoneColumnEchoesKeysAndSwitchesOnActionNames) {
  const CompositionState none{.legacyMode = "none"};
  const Typed echoed = type("\u0F40", none);
  EXPECT_EQ(echoed.state.syllable.free, "\u0F40");
  EXPECT_FALSE(echoed.state.legacyMode);
  EXPECT_EQ(type("m", none).state.legacyMode, "m");
  EXPECT_EQ(type("\u0F5D", none).state.syllable.free, "\u0FAD");
  const KeyInput ka{KeyCode::kC, ModifierLayer::none};
  EXPECT_EQ(LegacyModes::handle(ka, {}), CompositionEngine::handle(ka, {}));
}

}  // namespace
}  // namespace yakdrom
