// The modifier flags that come with a key event, as bits of the platform's flag word (the
// front ends translate their own modifiers into these), and what the controller reads from
// them. Any thread.
#pragma once

#include <cstdint>

#include "engine/composition/KeyInput.h"

namespace yakdrom {

using ModifierFlags = std::uint64_t;

inline constexpr ModifierFlags kCapsLockFlag = 0x10000;
inline constexpr ModifierFlags kShiftFlag = 0x20000;
inline constexpr ModifierFlags kControlFlag = 0x40000;
inline constexpr ModifierFlags kOptionFlag = 0x80000;
inline constexpr ModifierFlags kCommandFlag = 0x100000;
inline constexpr ModifierFlags kNumericPadFlag = 0x200000;
inline constexpr ModifierFlags kHelpFlag = 0x400000;
inline constexpr ModifierFlags kFunctionFlag = 0x800000;

/// Shift, Option, Help and bits 24 to 31: a key held with any of them is typed, not taken by
/// the candidate window. Caps Lock, numeric pad and function are left out, because the
/// arrow keys always carry the last two.
inline constexpr ModifierFlags kCandidateKeyBlockingMask = 0xFF4A0000;

/// Returns true for a Control or Command chord, which belongs to the application.
[[nodiscard]] constexpr bool isChord(ModifierFlags flags) {
  return (flags & (kControlFlag | kCommandFlag)) != 0;
}

/// Returns true when the candidate window may take a key held with `flags`.
[[nodiscard]] constexpr bool allowsCandidateKeys(ModifierFlags flags) {
  return (flags & kCandidateKeyBlockingMask) == 0;
}

/// Returns the layout layer of `flags`: Shift and Option only, Caps Lock plays no part.
[[nodiscard]] inline ModifierLayer layerOf(ModifierFlags flags) {
  return modifierLayer((flags & kShiftFlag) != 0, (flags & kOptionFlag) != 0);
}

}  // namespace yakdrom
