#include "frontends/pad/PadKeyTranslation.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

#include "engine/composition/KeyCode.h"

namespace yakdrom {
namespace {

struct SpecialKey {
  int qtKey;
  std::uint32_t evdevCode;
};

// The keys without a character whose US positions the engine and the candidate window use.
constexpr std::array<SpecialKey, 10> kSpecialKeys = {{
    {Qt::Key_Return, KEY_ENTER},
    {Qt::Key_Enter, KEY_ENTER},
    {Qt::Key_Escape, KEY_ESC},
    {Qt::Key_Backspace, KEY_BACKSPACE},
    {Qt::Key_Tab, KEY_TAB},
    {Qt::Key_Space, KEY_SPACE},
    {Qt::Key_Up, KEY_UP},
    {Qt::Key_Down, KEY_DOWN},
    {Qt::Key_Left, KEY_LEFT},
    {Qt::Key_Right, KEY_RIGHT},
}};

constexpr std::array<int, 13> kModifierKeys = {
    Qt::Key_Shift,   Qt::Key_Control,    Qt::Key_Meta,       Qt::Key_Alt,     Qt::Key_AltGr,
    Qt::Key_Super_L, Qt::Key_Super_R,    Qt::Key_Hyper_L,    Qt::Key_Hyper_R, Qt::Key_CapsLock,
    Qt::Key_NumLock, Qt::Key_ScrollLock, Qt::Key_Mode_switch};

// The character a key event stands for: its text, or with a chord (whose text is a control
// character or nothing) the key itself.
char characterOf(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() == 1 && text[0] >= QChar(0x21) && text[0] <= QChar(0x7E)) {
    return static_cast<char>(text[0].unicode());
  }
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<char>('a' + (key - Qt::Key_A));
  if (key > 0x20 && key < 0x7F) return static_cast<char>(key);
  return 0;
}

struct UsPosition {
  std::uint32_t evdevCode;
  bool shifted;
};

std::optional<UsPosition> usPosition(const QKeyEvent& event) {
  for (const SpecialKey& special : kSpecialKeys) {
    if (special.qtKey == event.key()) return UsPosition{special.evdevCode, false};
  }
  const char c = characterOf(event);
  for (const KeyCode::NamedKey& key : KeyCode::kNamedKeys) {
    if (c == 0 || (c != key.plain && c != key.shifted)) continue;
    if (const auto code = evdevCodeOf(key.code)) return UsPosition{*code, c != key.plain};
  }
  return std::nullopt;
}

}  // namespace

bool PadKeyTranslation::isModifier(const QKeyEvent& event) {
  return std::find(kModifierKeys.begin(), kModifierKeys.end(), event.key()) != kModifierKeys.end();
}

void PadKeyTranslation::observe(const QKeyEvent& event) {
  const bool down = event.type() == QEvent::KeyPress;
  if (event.nativeScanCode() == KEY_RIGHTALT + kX11KeycodeOffset) rightAltHeld_ = down;
  if (event.key() == Qt::Key_AltGr) altGrHeld_ = down;
}

EvdevModifiers PadKeyTranslation::modifiers(const QKeyEvent& event, bool positioned) const {
  const Qt::KeyboardModifiers held = event.modifiers();
  const bool alt = held.testFlag(Qt::AltModifier);
  // Without positions there is no telling the two Alt keys apart; Alt then means Option,
  // the layer a typist reaches for.
  const bool rightAlt = alt && (rightAltHeld_ || !positioned);
  return {.shift = held.testFlag(Qt::ShiftModifier),
          .control = held.testFlag(Qt::ControlModifier),
          .leftAlt = alt && !rightAlt,
          .rightAlt = rightAlt,
          .altGr = altGrHeld_ || held.testFlag(Qt::GroupSwitchModifier),
          .super = held.testFlag(Qt::MetaModifier),
          .capsLock = false};
}

std::optional<TranslatedKey> PadKeyTranslation::translate(const QKeyEvent& event) const {
  const std::uint32_t scanCode = event.nativeScanCode();
  if (scanCode > kX11KeycodeOffset) {
    return translateEvdevKey(scanCode - kX11KeycodeOffset, modifiers(event, true));
  }
  const auto position = usPosition(event);
  if (!position) return std::nullopt;
  EvdevModifiers held = modifiers(event, false);
  held.shift = held.shift || position->shifted;
  return translateEvdevKey(position->evdevCode, held);
}

}  // namespace yakdrom
