#include "ime/platform/EvdevKeyTranslation.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

#include "engine/composition/KeyCode.h"

namespace yakdrom {
namespace {

struct EvdevKey {
  std::uint32_t evdevCode;
  std::uint16_t keyCode;
};

// The US ANSI main block and the keys the candidate window takes. Keypad Enter stays out:
// it is a key of its own on the keyboards the key codes come from.
constexpr std::array<EvdevKey, 56> kEvdevKeys = {{
    {KEY_ESC, KeyCode::kEscape},
    {KEY_1, KeyCode::kDigit1},
    {KEY_2, KeyCode::kDigit2},
    {KEY_3, KeyCode::kDigit3},
    {KEY_4, KeyCode::kDigit4},
    {KEY_5, KeyCode::kDigit5},
    {KEY_6, KeyCode::kDigit6},
    {KEY_7, KeyCode::kDigit7},
    {KEY_8, KeyCode::kDigit8},
    {KEY_9, KeyCode::kDigit9},
    {KEY_0, KeyCode::kDigit0},
    {KEY_MINUS, KeyCode::kMinus},
    {KEY_EQUAL, KeyCode::kEqual},
    {KEY_BACKSPACE, KeyCode::kDelete},
    {KEY_TAB, KeyCode::kTab},
    {KEY_Q, KeyCode::kQ},
    {KEY_W, KeyCode::kW},
    {KEY_E, KeyCode::kE},
    {KEY_R, KeyCode::kR},
    {KEY_T, KeyCode::kT},
    {KEY_Y, KeyCode::kY},
    {KEY_U, KeyCode::kU},
    {KEY_I, KeyCode::kI},
    {KEY_O, KeyCode::kO},
    {KEY_P, KeyCode::kP},
    {KEY_LEFTBRACE, KeyCode::kLeftBracket},
    {KEY_RIGHTBRACE, KeyCode::kRightBracket},
    {KEY_ENTER, KeyCode::kReturn},
    {KEY_A, KeyCode::kA},
    {KEY_S, KeyCode::kS},
    {KEY_D, KeyCode::kD},
    {KEY_F, KeyCode::kF},
    {KEY_G, KeyCode::kG},
    {KEY_H, KeyCode::kH},
    {KEY_J, KeyCode::kJ},
    {KEY_K, KeyCode::kK},
    {KEY_L, KeyCode::kL},
    {KEY_SEMICOLON, KeyCode::kSemicolon},
    {KEY_APOSTROPHE, KeyCode::kQuote},
    {KEY_GRAVE, KeyCode::kGrave},
    {KEY_BACKSLASH, KeyCode::kBackslash},
    {KEY_Z, KeyCode::kZ},
    {KEY_X, KeyCode::kX},
    {KEY_C, KeyCode::kC},
    {KEY_V, KeyCode::kV},
    {KEY_B, KeyCode::kB},
    {KEY_N, KeyCode::kN},
    {KEY_M, KeyCode::kM},
    {KEY_COMMA, KeyCode::kComma},
    {KEY_DOT, KeyCode::kPeriod},
    {KEY_SLASH, KeyCode::kSlash},
    {KEY_SPACE, KeyCode::kSpace},
    {KEY_UP, KeyCode::kUp},
    {KEY_LEFT, KeyCode::kLeft},
    {KEY_RIGHT, KeyCode::kRight},
    {KEY_DOWN, KeyCode::kDown},
}};

struct HeldModifier {
  bool EvdevModifiers::*held;
  ModifierFlags flag;
};

// Right Alt and AltGr type the Option layer; left Alt and Super stay the application's
// shortcut keys, as Command is.
constexpr std::array<HeldModifier, 6> kHeldModifiers = {{
    {&EvdevModifiers::shift, kShiftFlag},
    {&EvdevModifiers::control, kControlFlag},
    {&EvdevModifiers::rightAlt, kOptionFlag},
    {&EvdevModifiers::altGr, kOptionFlag},
    {&EvdevModifiers::leftAlt, kCommandFlag},
    {&EvdevModifiers::super, kCommandFlag},
}};

ModifierFlags flagsOf(const EvdevModifiers& modifiers) {
  ModifierFlags flags = 0;
  for (const HeldModifier& modifier : kHeldModifiers) {
    if (modifiers.*modifier.held) flags |= modifier.flag;
  }
  return flags;
}

}  // namespace

std::optional<TranslatedKey> translateEvdevKey(std::uint32_t evdevCode,
                                               const EvdevModifiers& modifiers) {
  for (const EvdevKey& key : kEvdevKeys) {
    if (key.evdevCode != evdevCode) continue;
    ModifierFlags flags = flagsOf(modifiers);
    // The arrow keys' events always carry these two, which the candidate window allows.
    if (KeyCode::isArrow(key.keyCode)) flags |= kNumericPadFlag | kFunctionFlag;
    return TranslatedKey{key.keyCode, flags};
  }
  return std::nullopt;
}

bool isModifierKey(std::uint32_t evdevCode) {
  static constexpr std::array<std::uint32_t, 9> kModifierKeys = {
      KEY_LEFTSHIFT, KEY_RIGHTSHIFT, KEY_LEFTCTRL,  KEY_RIGHTCTRL, KEY_LEFTALT,
      KEY_RIGHTALT,  KEY_LEFTMETA,   KEY_RIGHTMETA, KEY_CAPSLOCK};
  return std::find(kModifierKeys.begin(), kModifierKeys.end(), evdevCode) != kModifierKeys.end();
}

std::optional<std::uint32_t> evdevCodeOf(std::uint16_t keyCode) {
  for (const EvdevKey& key : kEvdevKeys) {
    if (key.keyCode == keyCode) return key.evdevCode;
  }
  return std::nullopt;
}

}  // namespace yakdrom
