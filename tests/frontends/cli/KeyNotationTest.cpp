#include <gtest/gtest.h>

#include "frontends/cli/KeyNotation.h"

namespace yakdrom::cli {
namespace {

struct NotationCase {
  const char* notation;
  std::uint16_t code;
  bool shift, option, control, command;
};

TEST(KeyNotation, CharactersAndBracedNamesGiveKeyCodesAndModifiers) {
  const NotationCase cases[] = {
      {"a", 0, false, false, false, false},
      {"A", 0, true, false, false, false},
      {"!", 18, true, false, false, false},
      {"=", 24, false, false, false, false},
      {"+", 24, true, false, false, false},
      {"'", 39, false, false, false, false},
      {"\"", 39, true, false, false, false},
      {"`", 50, false, false, false, false},
      {"~", 50, true, false, false, false},
      {" ", 49, false, false, false, false},
      {"{space}", 49, false, false, false, false},
      {"{return}", 36, false, false, false, false},
      {"{delete}", 51, false, false, false, false},
      {"{up}", 126, false, false, false, false},
      {"{opt+m}", 46, false, true, false, false},
      {"{shift+opt+c}", 8, true, true, false, false},
      {"{opt+C}", 8, true, true, false, false},
      {"{shift+delete}", 51, true, false, false, false},
      {"{ctrl+c}", 8, false, false, true, false},
      {"{cmd+c}", 8, false, false, false, true},
      {"{caps+c}", 8, false, false, false, false},
      {"{shift+[}", 33, true, false, false, false},
      {"{opt++}", 24, true, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.notation);
    const auto parsed = parseKeyNotation(c.notation);
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.keys.size(), 1U);
    const KeyPress& k = parsed.keys[0];
    EXPECT_EQ(k.keyCode, c.code);
    EXPECT_EQ(k.shift, c.shift);
    EXPECT_EQ(k.option, c.option);
    EXPECT_EQ(k.control, c.control);
    EXPECT_EQ(k.command, c.command);
    EXPECT_EQ(k.written, c.notation);
  }
}

TEST(KeyNotation, BadKeysNameThemselvesAndTheirPosition) {
  const std::pair<const char*, const char*> cases[] = {
      {"ab{foo}", "unknown key \"{foo}\" at position 3"},
      {"{opt+}", "unknown key \"{opt+}\" at position 1"},
      {"a{opt+m", "unclosed \"{\" at position 2"},
      {"a}", "unknown key \"}\" at position 2"},
      {"k\u0F40", "unknown key \"\u0F40\" at position 2"},
      {"\t", "unknown key \"\t\" at position 1"},
      {"{}", "unknown key \"{}\" at position 1"},
  };
  for (const auto& [notation, message] : cases) {
    SCOPED_TRACE(notation);
    const auto parsed = parseKeyNotation(notation);
    ASSERT_TRUE(parsed.error);
    EXPECT_EQ(*parsed.error, message);
  }
}

TEST(KeyNotation, FormattedKeysParseBackToTheSameKey) {
  for (auto layer : {ModifierLayer::none, ModifierLayer::shift, ModifierLayer::option,
                     ModifierLayer::shiftOption}) {
    for (std::uint16_t code : {0, 8, 18, 24, 33, 36, 39, 46, 49, 50, 51, 53, 123, 126}) {
      const KeyPress k = makeKey(code, layer);
      SCOPED_TRACE(k.written);
      const auto parsed = parseKeyNotation(k.written);
      ASSERT_FALSE(parsed.error);
      ASSERT_EQ(parsed.keys.size(), 1U);
      EXPECT_EQ(parsed.keys[0], k);
      EXPECT_EQ(parsed.keys[0].input(), k.input());
    }
  }
}

}  // namespace
}  // namespace yakdrom::cli
