// Linux key events in the engine's terms: evdev key codes (the positions the kernel reports,
// which IBus and Fcitx pass on as X11 keycodes 8 higher) and the modifier state the front end
// reads from its framework, translated into key codes and modifier flags.
#pragma once

#include <cstdint>
#include <optional>

#include "ime/controller/ModifierFlags.h"

namespace yakdrom {

/// What X11 keycodes add to evdev codes.
inline constexpr std::uint32_t kX11KeycodeOffset = 8;

/// The modifiers held with a key, as IBus and Fcitx report them.
struct EvdevModifiers {
  bool shift = false;
  bool control = false;
  bool leftAlt = false;
  bool rightAlt = false;
  bool altGr = false;  // ISO_Level3_Shift (Mod5)
  bool super = false;
  bool capsLock = false;
};

struct TranslatedKey {
  std::uint16_t keyCode = 0;
  ModifierFlags flags = 0;

  friend bool operator==(const TranslatedKey&, const TranslatedKey&) = default;
};

/// Translates the key at `evdevCode` held with `modifiers`: AltGr and right Alt act as
/// Option, Super and left Alt as Command, Caps Lock is ignored. Returns nothing for
/// modifier keys and keys the engine does not know, which the front end passes through.
[[nodiscard]] std::optional<TranslatedKey> translateEvdevKey(std::uint32_t evdevCode,
                                                             const EvdevModifiers& modifiers);

/// Returns true for the keys that only modify others (Shift, Control, Alt, Super, Caps
/// Lock, AltGr), which reach the application untouched and end nothing.
[[nodiscard]] bool isModifierKey(std::uint32_t evdevCode);

/// Returns the evdev code of the key position that carries `keyCode`, for front ends that
/// learn a key's meaning but not its position; nothing for a key the table does not hold.
[[nodiscard]] std::optional<std::uint32_t> evdevCodeOf(std::uint16_t keyCode);

}  // namespace yakdrom
