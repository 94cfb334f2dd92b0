#include <gtest/gtest.h>

#include "engine/composition/CompositionState.h"
#include "engine/composition/SyllableModel.h"

namespace yakdrom {
namespace {

TEST(SyllableModel, ManualStackFollowsTheLastScalarOfFree) {
  const std::pair<const char*, bool> cases[] = {
      {"", false},       {"\u0FB2", true},  {"\u0F90", true},        {"\u0FBC", true},
      {"\u0FBD", false}, {"\u0F8F", false}, {"\u0FB2\u0F7E", false}, {"\u0F40\u0FB1", true},
  };
  for (const auto& [free, active] : cases) {
    SCOPED_TRACE(free);
    EXPECT_EQ(SyllableModel{.free = free}.manualStackActive(), active);
  }
}

TEST(SyllableModel, StackWindowOpenUntilVowelOrSuffix) {
  EXPECT_FALSE(SyllableModel{}.stackWindowOpen());
  EXPECT_TRUE((SyllableModel{.root = "\u0F40", .free = "\u0F90"}.stackWindowOpen()));
  EXPECT_FALSE((SyllableModel{.root = "\u0F40", .vowels = {"\u0F72"}}.stackWindowOpen()));
  EXPECT_FALSE((SyllableModel{.root = "\u0F40", .suffix = "\u0F42"}.stackWindowOpen()));
}

TEST(SyllableModel, SerialisationOrder) {
  struct Case {
    const char* name;
    SyllableModel syllable;
    const char* text;
  };
  const Case cases[] = {
      {"empty", {}, ""},
      {"every slot",
       {.prefix = "\u0F56",
        .superscript = "\u0F62",
        .root = "\u0F40",
        .subjoined = {"\u0F61"},
        .vowels = {"\u0F72", "\u0F71"},
        .suffix = "\u0F42",
        .postsuffix = "\u0F66",
        .free = "\u0F7E\u0F68"},
       // བ ར ྐ ྱ | body ཨ | ཱ ི | mark ཾ | ག ས
       "\u0F56\u0F62\u0F90\u0FB1\u0F68\u0F71\u0F72\u0F7E\u0F42\u0F66"},
      {"head without root", {.superscript = "\u0F66"}, "\u0F66"},
      {"root without subjoined form stays whole",
       {.superscript = "\u0F62", .root = "\u0F65"},
       "\u0F62\u0F65"},
      {"wa under ma", {.root = "\u0F58", .subjoined = {"\u0F5D"}}, "\u0F58\u0FBA"},
      {"subjoined letters by typing order",
       {.root = "\u0F40", .subjoined = {"\u0F62", "\u0F61"}},
       "\u0F40\u0FB2\u0FB1"},
      {"marks after the vowels, before the suffix",
       {.root = "\u0F40", .vowels = {"\u0F7A"}, .suffix = "\u0F53", .free = "\u0F83\u0F7F"},
       "\u0F40\u0F7A\u0F83\u0F7F\u0F53"},
      {"a lone aspirate is decomposed", {.free = "\u0FA2"}, "\u0FA1\u0FB7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.syllable.serialized(), c.text);
  }
}

TEST(CompositionState, EmptyIgnoresTheAvoidedStack) {
  EXPECT_TRUE(CompositionState{}.isEmpty());
  EXPECT_FALSE(CompositionState{.legacyMode = "m"}.isEmpty());
  EXPECT_FALSE(CompositionState{.syllable = {.root = "\u0F40"}}.isEmpty());
  EXPECT_TRUE((CompositionState{.avoidedStack = AvoidedStack{"\u0F62", "\u0F40"}}.isEmpty()));
}

}  // namespace
}  // namespace yakdrom
