#include <gtest/gtest.h>

#include "engine/composition/KeyCode.h"
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
      {"a", KeyCode::kA, false, false, false, false},
      {"A", KeyCode::kA, true, false, false, false},
      {"!", KeyCode::kDigit1, true, false, false, false},
      {"=", KeyCode::kEqual, false, false, false, false},
      {"+", KeyCode::kEqual, true, false, false, false},
      {"'", KeyCode::kQuote, false, false, false, false},
      {"\"", KeyCode::kQuote, true, false, false, false},
      {"`", KeyCode::kGrave, false, false, false, false},
      {"~", KeyCode::kGrave, true, false, false, false},
      {" ", KeyCode::kSpace, false, false, false, false},
      {"{space}", KeyCode::kSpace, false, false, false, false},
      {"{return}", KeyCode::kReturn, false, false, false, false},
      {"{delete}", KeyCode::kDelete, false, false, false, false},
      {"{up}", KeyCode::kUp, false, false, false, false},
      {"{opt+m}", KeyCode::kM, false, true, false, false},
      {"{shift+opt+c}", KeyCode::kC, true, true, false, false},
      {"{opt+C}", KeyCode::kC, true, true, false, false},
      {"{shift+delete}", KeyCode::kDelete, true, false, false, false},
      {"{ctrl+c}", KeyCode::kC, false, false, true, false},
      {"{cmd+c}", KeyCode::kC, false, false, false, true},
      {"{caps+c}", KeyCode::kC, false, false, false, false},
      {"{shift+[}", KeyCode::kLeftBracket, true, false, false, false},
      {"{opt++}", KeyCode::kEqual, true, true, false, false},
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
    for (const KeyCode::NamedKey& named : KeyCode::kNamedKeys) {
      const KeyPress k = makeKey(named.code, layer);
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
