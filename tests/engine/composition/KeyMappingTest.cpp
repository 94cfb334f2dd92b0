#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/KeyCode.h"
#include "engine/composition/KeyMapping.h"
#include "engine/composition/LegacyTables.h"
#include "engine/composition/Orthography.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

using CompositionEngine::stateEntryAction;

constexpr ModifierLayer kLayers[] = {ModifierLayer::none, ModifierLayer::shift,
                                     ModifierLayer::option, ModifierLayer::shiftOption};

TEST(ModifierLayer, RawValuesSkipThree) {
  EXPECT_EQ(modifierLayer(false, false), ModifierLayer::none);
  EXPECT_EQ(modifierLayer(true, false), ModifierLayer::shift);
  EXPECT_EQ(modifierLayer(false, true), ModifierLayer::option);
  EXPECT_EQ(modifierLayer(true, true), ModifierLayer::shiftOption);
  EXPECT_EQ(rawValue(ModifierLayer::shiftOption), 4);
  for (int raw = 0; raw < 256; ++raw) {
    SCOPED_TRACE(raw);
    const auto layer = modifierLayerFromRaw(static_cast<std::uint8_t>(raw));
    ASSERT_EQ(layer.has_value(), raw == 0 || raw == 1 || raw == 2 || raw == 4);
    EXPECT_EQ(rawValue(layer.value_or(ModifierLayer::none)), layer ? raw : 0);
  }
}

TEST(KeyMapping, LayersHoldOneTibetanScalarOrSpacePerKey) {
  for (ModifierLayer layer : kLayers) {
    for (const auto& [code, value] : KeyMapping::table(layer)) {
      SCOPED_TRACE(::testing::Message() << layerName(layer) << " " << code);
      ASSERT_EQ(text::scalarCount(value), 1U);
      const char32_t c = text::firstScalar(value);
      EXPECT_TRUE(c == U' ' || (c >= 0x0F00 && c <= 0x0FFF));
    }
  }
}

// The base layer is the alphabet, the four vowel signs, the digits and the separators.
TEST(KeyMapping, BaseLayerIsAlphabetVowelsDigitsAndSeparators) {
  int letters = 0, vowels = 0, digits = 0, other = 0;
  for (const auto& [code, value] : KeyMapping::base()) {
    if (Orthography::consonants().contains(value))
      ++letters;
    else if (Orthography::vowels().contains(value))
      ++vowels;
    else if (Orthography::isTibetanDigit(value))
      ++digits;
    else
      ++other;
  }
  EXPECT_EQ(letters, 30);
  EXPECT_EQ(vowels, 4);
  EXPECT_EQ(digits, 10);
  EXPECT_EQ(other, 3);  // tsheg, shad, space
}

// The named keys are the layout's keys and the US characters: each printable ASCII
// character is typed by exactly one key, and every key that types one is in the layout.
TEST(KeyCode, NamedKeysAreTheLayoutsKeysWithoutRepeats) {
  std::set<std::uint16_t> codes, characterKeys;
  std::set<std::string_view> names;
  std::set<char> characters;
  for (const KeyCode::NamedKey& key : KeyCode::kNamedKeys) {
    SCOPED_TRACE(key.name);
    EXPECT_TRUE(codes.insert(key.code).second);
    EXPECT_TRUE(names.insert(key.name).second);
    if (key.plain == 0) continue;
    characterKeys.insert(key.code);
    EXPECT_TRUE(characters.insert(key.plain).second);
    EXPECT_TRUE(key.shifted == key.plain || characters.insert(key.shifted).second);
  }
  EXPECT_EQ(characters.size(), 95U);
  std::set<std::uint16_t> layoutKeys;
  for (const auto& [code, value] : KeyMapping::option()) layoutKeys.insert(code);
  EXPECT_EQ(characterKeys, layoutKeys);
}

TEST(KeyMapping, OnlyTheMKeyEntersDeadKeyModesWithoutOption) {
  for (ModifierLayer layer : kLayers) {
    for (std::uint16_t code = 0; code < 128; ++code) {
      SCOPED_TRACE(::testing::Message() << layerName(layer) << " " << code);
      const auto mode = stateEntryAction({code, layer});
      if (code == KeyCode::kM && layer == ModifierLayer::none) {
        EXPECT_EQ(mode, "m");
      } else if (code == KeyCode::kM && layer == ModifierLayer::shift) {
        EXPECT_EQ(mode, "M");
      } else {
        EXPECT_FALSE(mode);
      }
    }
  }
}

TEST(LegacyTables, ColumnsOfTheDeadKeyTable) {
  const auto& actions = LegacyTables::actions();
  EXPECT_EQ(actions.size(), 49U);
  int small = 0, capital = 0;
  for (const auto& [key, modes] : actions) {
    SCOPED_TRACE(key);
    small += static_cast<int>(modes.count("m"));
    capital += static_cast<int>(modes.count("M"));
    const bool name = key == "m" || key == "M";
    EXPECT_EQ(modes.at("none"),
              name ? LegacyTransition::makeNext(key) : LegacyTransition::makeOutput(key));
  }
  EXPECT_EQ(small, 48);   // every key except "M"
  EXPECT_EQ(capital, 7);  // space, "m" and five letters
}

}  // namespace
}  // namespace yakdrom
