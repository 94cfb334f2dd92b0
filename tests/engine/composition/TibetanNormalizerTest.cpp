#include <gtest/gtest.h>

#include "engine/composition/TibetanNormalizer.h"

namespace yakdrom {
namespace {

using TibetanNormalizer::normalize;
using TibetanNormalizer::orderVowels;
using TibetanNormalizer::subjoinedForm;

TEST(TibetanNormalizer, SubjoinedForms) {
  struct Case {
    const char* letter;
    std::optional<std::string_view> root;
    const char* form;  // nullptr: none
  };
  const Case cases[] = {
      {"\u0F5D", std::nullopt, "\u0FAD"},  // ཝ: wa-zur by default
      {"\u0F5D", "\u0F58", "\u0FBA"},      // under མ the fixed form
      {"\u0F5D", "\u0F40", "\u0FAD"},
      {"\u0F40", std::nullopt, "\u0F90"},
      {"\u0F68", std::nullopt, "\u0FB8"},
      {"\u0F61", "\u0F66", "\u0FB1"},
      {"\u0F4A", std::nullopt, "\u0F9A"},  // ཊ: not in the dead-key table, code point + 0x50
      {"\u0F4E", std::nullopt, "\u0F9E"},
      {"\u0F74", std::nullopt, "\u0FAD"},  // the dead-key table gives ◌ུ a subjoined letter
      {"\u0F65", std::nullopt, nullptr},   // ཥ is not in the alphabet
      {"\u0F72", std::nullopt, nullptr},   // ◌ྀ is not a subjoined letter
      {"\u0F0B", std::nullopt, nullptr},
      {"m", std::nullopt, nullptr},
      {"\u0F40\u0F72", std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.letter);
    const auto form = subjoinedForm(c.letter, c.root);
    ASSERT_EQ(form.has_value(), c.form != nullptr);
    if (form) {
      EXPECT_EQ(*form, c.form);
    }
  }
}

TEST(TibetanNormalizer, LengthMarkGoesFirst) {
  EXPECT_EQ(orderVowels({"\u0F72", "\u0F71"}), "\u0F71\u0F72");
  EXPECT_EQ(orderVowels({"\u0F7A", "\u0F71", "\u0F7C", "\u0F71"}), "\u0F71\u0F71\u0F7A\u0F7C");
  EXPECT_EQ(orderVowels({"\u0F74", "\u0F72"}), "\u0F74\u0F72");  // not canonical order
  EXPECT_EQ(orderVowels({}), "");
}

TEST(TibetanNormalizer, OnlyWholeCharactersAreDecomposed) {
  const std::pair<const char*, const char*> cases[] = {
      {"\u0F43", "\u0F42\u0FB7"},
      {"\u0F43\u0F72", "\u0F43\u0F72"},  // a vowel sign makes it a larger character
      {"\u0F40\u0F0B\u0F43", "\u0F40\u0F0B\u0F42\u0FB7"},
      {"\u0F77", "\u0F71\u0FB2\u0F80"},
      {"\u0FA2", "\u0FA1\u0FB7"},
      {"\u0F51\u0FA2", "\u0F51\u0FA2"},
      {"\u0F72\u0F71", "\u0F71\u0F72"},  // canonically ཱི, so replaced
      {"\u0F40\u0F72\u0F71", "\u0F40\u0F72\u0F71"},
      {"abc \u0F40", "abc \u0F40"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(normalize(in), out);
  }
}

}  // namespace
}  // namespace yakdrom
