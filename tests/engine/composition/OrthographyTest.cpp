#include <gtest/gtest.h>

#include <algorithm>

#include "engine/composition/Orthography.h"
#include "engine/composition/TibetanNormalizer.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

std::string utf8(char32_t c) {
  std::string s;
  text::appendUtf8(s, c);
  return s;
}

TEST(Orthography, LettersOutsideTheAlphabetAreNotConsonants) {
  for (const char* c : {"\u0F65", "\u0F69", "\u0F43", "\u0F4D", "\u0F52", "\u0F57", "\u0F5C",
                        "\u0F42\u0FB7", "\u0F40\u0F72", ""}) {
    SCOPED_TRACE(c);
    EXPECT_FALSE(Orthography::consonants().contains(c));
  }
  EXPECT_TRUE(Orthography::consonants().contains("\u0F68"));
  EXPECT_TRUE(Orthography::consonants().contains("\u0F4A"));
  EXPECT_TRUE(Orthography::vowels().contains("\u0F71"));
  EXPECT_FALSE(Orthography::vowels().contains("\u0F73"));
  EXPECT_FALSE(Orthography::vowels().contains("\u0F75"));
}

TEST(Orthography, StackingRules) {
  struct Case {
    const char* head;
    const char* root;
    bool canStack;
  };
  const Case stacks[] = {{"\u0F62", "\u0F40", true},  {"\u0F62", "\u0F41", false},
                         {"\u0F40", "\u0F40", false}, {"\u0F66", "\u0F5D", true},
                         {"\u0F63", "\u0F54", true},  {"\u0F63", "\u0F58", false}};
  for (const Case& c : stacks) {
    SCOPED_TRACE(::testing::Message() << c.head << c.root);
    EXPECT_EQ(Orthography::canStack(c.head, c.root), c.canStack);
  }
  const Case feet[] = {{"\u0F40", "\u0F61", true},  {"\u0F4F", "\u0F61", false},
                       {"\u0F62", "\u0F63", true},  {"\u0F40", "\u0F40", false},
                       {"\u0F60", "\u0F62", true},  {"\u0F64", "\u0F5D", true},
                       {"\u0F4F", "\u0F63", false}, {"\u0F67", "\u0F61", true}};
  for (const Case& c : feet) {
    SCOPED_TRACE(::testing::Message() << c.head << c.root);
    EXPECT_EQ(Orthography::canSubjoin(c.head, c.root), c.canStack);
  }
}

TEST(Orthography, DigitsAndHalfDigits) {
  EXPECT_TRUE(Orthography::isTibetanDigit("\u0F20"));
  EXPECT_TRUE(Orthography::isTibetanDigit("\u0F33"));
  EXPECT_FALSE(Orthography::isTibetanDigit("\u0F34"));
  EXPECT_FALSE(Orthography::isTibetanDigit("\u0F1F"));
  EXPECT_FALSE(Orthography::isTibetanDigit(""));
}

// The array path for single scalars must answer exactly as comparing every member with
// canonicallyEqual; the decomposition keys are a set whose members have decompositions.
TEST(CharacterSet, MembershipMatchesCanonicalEqualityEverywhere) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : TibetanNormalizer::decomposeMap()) keys.push_back(key);
  keys.push_back("\u0F40\u0F72\u0F74");
  const CharacterSet decomposable(keys);
  const CharacterSet* sets[] = {&Orthography::consonants(), &Orthography::vowels(), &decomposable};
  std::vector<std::string> probes;
  for (char32_t c = 0x20; c < 0x7F; ++c) probes.push_back(utf8(c));
  for (char32_t c = 0x0F00; c <= 0x0FFF; ++c) probes.push_back(utf8(c));
  for (const char* marks : {"\u0F71", "\u0F72", "\u0F74", "\u0F80", "\u0FB5", "\u0FB7"}) {
    for (char32_t c = 0x0F40; c <= 0x0FBC; ++c) {
      probes.push_back(utf8(c) + marks);
      probes.push_back(marks + utf8(c));
    }
  }
  probes.push_back("\u0F40\u0F74\u0F72");
  probes.push_back("\u212A");  // canonically "K", outside the array path
  for (const CharacterSet* set : sets) {
    for (const std::string& probe : probes) {
      const bool expected =
          std::any_of(set->members().begin(), set->members().end(),
                      [&](const std::string& m) { return text::canonicallyEqual(m, probe); });
      ASSERT_EQ(set->contains(probe), expected) << "probe " << probe;
    }
  }
  EXPECT_TRUE(decomposable.contains("\u0F72\u0F71"));  // reordered ཱི
  EXPECT_TRUE(CharacterSet({"K"}).contains("\u212A"));
}

}  // namespace
}  // namespace yakdrom
