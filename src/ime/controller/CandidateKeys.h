// The keys the candidate window takes while it is shown: the digits of the main keyboard
// row, Return, Space, Escape and the arrows, by platform key code. Any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/composition/KeyCode.h"
#include "ime/panel/CandidateList.h"

namespace yakdrom {

struct NumberKey {
  std::uint16_t keyCode;
  int number;
};

/// The digit keys 1 to 9; the 0 key confirms nothing.
inline constexpr std::array<NumberKey, 9> kNumberKeys = {{
    {KeyCode::kDigit1, 1},
    {KeyCode::kDigit2, 2},
    {KeyCode::kDigit3, 3},
    {KeyCode::kDigit4, 4},
    {KeyCode::kDigit5, 5},
    {KeyCode::kDigit6, 6},
    {KeyCode::kDigit7, 7},
    {KeyCode::kDigit8, 8},
    {KeyCode::kDigit9, 9},
}};

struct ArrowKeyCode {
  std::uint16_t keyCode;
  ArrowKey key;
};

inline constexpr std::array<ArrowKeyCode, 4> kArrowKeyCodes = {{
    {KeyCode::kLeft, ArrowKey::left},
    {KeyCode::kRight, ArrowKey::right},
    {KeyCode::kDown, ArrowKey::down},
    {KeyCode::kUp, ArrowKey::up},
}};

/// Returns the candidate number of a digit key, or nothing for any other key.
[[nodiscard]] constexpr std::optional<int> candidateNumber(std::uint16_t keyCode) {
  for (const NumberKey& key : kNumberKeys) {
    if (key.keyCode == keyCode) return key.number;
  }
  return std::nullopt;
}

/// Returns the arrow of an arrow key, or nothing for any other key.
[[nodiscard]] constexpr std::optional<ArrowKey> arrowKey(std::uint16_t keyCode) {
  for (const ArrowKeyCode& arrow : kArrowKeyCodes) {
    if (arrow.keyCode == keyCode) return arrow.key;
  }
  return std::nullopt;
}

}  // namespace yakdrom
