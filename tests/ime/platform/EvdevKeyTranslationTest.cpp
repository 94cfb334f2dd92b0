#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

#include "engine/composition/KeyCode.h"
#include "ime/platform/EvdevKeyTranslation.h"

namespace yakdrom {
namespace {

struct PrintedKey {
  std::uint32_t evdevCode;
  char printed;  // on the key of a US keyboard, unshifted
};

// Read off a US keyboard, row by row, independently of the translation's table.
constexpr PrintedKey kUsMainBlock[] = {
    {KEY_GRAVE, '`'},       {KEY_1, '1'},          {KEY_2, '2'},     {KEY_3, '3'},
    {KEY_4, '4'},           {KEY_5, '5'},          {KEY_6, '6'},     {KEY_7, '7'},
    {KEY_8, '8'},           {KEY_9, '9'},          {KEY_0, '0'},     {KEY_MINUS, '-'},
    {KEY_EQUAL, '='},       {KEY_Q, 'q'},          {KEY_W, 'w'},     {KEY_E, 'e'},
    {KEY_R, 'r'},           {KEY_T, 't'},          {KEY_Y, 'y'},     {KEY_U, 'u'},
    {KEY_I, 'i'},           {KEY_O, 'o'},          {KEY_P, 'p'},     {KEY_LEFTBRACE, '['},
    {KEY_RIGHTBRACE, ']'},  {KEY_BACKSLASH, '\\'}, {KEY_A, 'a'},     {KEY_S, 's'},
    {KEY_D, 'd'},           {KEY_F, 'f'},          {KEY_G, 'g'},     {KEY_H, 'h'},
    {KEY_J, 'j'},           {KEY_K, 'k'},          {KEY_L, 'l'},     {KEY_SEMICOLON, ';'},
    {KEY_APOSTROPHE, '\''}, {KEY_Z, 'z'},          {KEY_X, 'x'},     {KEY_C, 'c'},
    {KEY_V, 'v'},           {KEY_B, 'b'},          {KEY_N, 'n'},     {KEY_M, 'm'},
    {KEY_COMMA, ','},       {KEY_DOT, '.'},        {KEY_SLASH, '/'}, {KEY_SPACE, ' '},
};

TEST(EvdevKeyTranslation, MainBlockKeysAreTheKeysThatTypeTheirUsCharacters) {
  for (const auto& [evdevCode, printed] : kUsMainBlock) {
    SCOPED_TRACE(::testing::Message() << "evdev " << evdevCode << " '" << printed << "'");
    const auto key = translateEvdevKey(evdevCode, {});
    ASSERT_TRUE(key);
    const auto named = KeyCode::namedKey(key->keyCode);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->plain, printed);
    EXPECT_EQ(key->flags, 0U);
  }
}

TEST(EvdevKeyTranslation, EditingKeysAndArrowsKeepTheirRoles) {
  constexpr ModifierFlags kArrowFlags = kNumericPadFlag | kFunctionFlag;
  const std::pair<std::uint32_t, TranslatedKey> cases[] = {
      {KEY_ENTER, {KeyCode::kReturn, 0}},        {KEY_TAB, {KeyCode::kTab, 0}},
      {KEY_BACKSPACE, {KeyCode::kDelete, 0}},    {KEY_ESC, {KeyCode::kEscape, 0}},
      {KEY_LEFT, {KeyCode::kLeft, kArrowFlags}}, {KEY_RIGHT, {KeyCode::kRight, kArrowFlags}},
      {KEY_DOWN, {KeyCode::kDown, kArrowFlags}}, {KEY_UP, {KeyCode::kUp, kArrowFlags}},
  };
  for (const auto& [evdevCode, expected] : cases) {
    SCOPED_TRACE(evdevCode);
    EXPECT_EQ(translateEvdevKey(evdevCode, {}), expected);
  }
}

TEST(EvdevKeyTranslation, EveryNamedKeyHasALinuxKey) {
  std::set<std::uint16_t> reached;
  for (std::uint32_t evdevCode = 0; evdevCode <= KEY_MAX; ++evdevCode) {
    if (const auto key = translateEvdevKey(evdevCode, {})) reached.insert(key->keyCode);
  }
  std::set<std::uint16_t> named;
  for (const KeyCode::NamedKey& key : KeyCode::kNamedKeys) named.insert(key.code);
  EXPECT_EQ(reached, named);
  // The way back lands on the same key, which front ends without positions rely on.
  for (const std::uint16_t code : named) {
    const auto evdevCode = evdevCodeOf(code);
    ASSERT_TRUE(evdevCode) << code;
    EXPECT_EQ(translateEvdevKey(*evdevCode, {})->keyCode, code);
  }
  EXPECT_FALSE(evdevCodeOf(0xFFFF));
}

TEST(EvdevKeyTranslation, ModifiersBecomeFlagsAndCapsLockIsIgnored) {
  const std::pair<EvdevModifiers, ModifierFlags> cases[] = {
      {{.shift = true}, kShiftFlag},
      {{.control = true}, kControlFlag},
      {{.rightAlt = true}, kOptionFlag},
      {{.altGr = true}, kOptionFlag},
      {{.leftAlt = true}, kCommandFlag},
      {{.super = true}, kCommandFlag},
      {{.capsLock = true}, 0},
      {{.shift = true, .altGr = true, .capsLock = true}, kShiftFlag | kOptionFlag},
      {{.control = true, .leftAlt = true, .super = true}, kControlFlag | kCommandFlag},
  };
  for (const auto& [modifiers, flags] : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << flags);
    EXPECT_EQ(translateEvdevKey(KEY_K, modifiers), (TranslatedKey{KeyCode::kK, flags}));
  }
}

TEST(EvdevKeyTranslation, ModifierKeysAndUnknownKeysGiveNothing) {
  for (const std::uint32_t evdevCode :
       {KEY_LEFTSHIFT, KEY_RIGHTSHIFT, KEY_LEFTCTRL, KEY_RIGHTCTRL, KEY_LEFTALT, KEY_RIGHTALT,
        KEY_LEFTMETA, KEY_RIGHTMETA, KEY_CAPSLOCK, KEY_RESERVED, KEY_F1, KEY_KPENTER, KEY_102ND,
        KEY_MAX + 1}) {
    SCOPED_TRACE(evdevCode);
    EXPECT_FALSE(translateEvdevKey(evdevCode, {.shift = true}));
    // Only the modifiers leave a syllable being composed alone.
    const bool modifier = evdevCode <= KEY_RIGHTMETA && evdevCode != KEY_RESERVED &&
                          evdevCode != KEY_F1 && evdevCode != KEY_KPENTER && evdevCode != KEY_102ND;
    EXPECT_EQ(isModifierKey(evdevCode), modifier);
  }
}

}  // namespace
}  // namespace yakdrom
