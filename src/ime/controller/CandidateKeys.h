// The keys the candidate window takes while it is shown: the digits of the main keyboard
// row, Return, Space, Escape and the arrows, by platform key code. Any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "ime/panel/CandidatePanel.h"

namespace yakdrom {

inline constexpr std::uint16_t kReturnKeyCode = 36;
inline constexpr std::uint16_t kSpaceKeyCode = 49;
inline constexpr std::uint16_t kEscapeKeyCode = 53;

struct NumberKey {
  std::uint16_t keyCode;
  int number;
};

/// The digit keys 1 to 9 (the 0 key confirms nothing); their codes follow the physical
/// keys, not the digits, hence the order.
inline constexpr std::array<NumberKey, 9> kNumberKeys = {{
    {18, 1},
    {19, 2},
    {20, 3},
    {21, 4},
    {23, 5},
    {22, 6},
    {26, 7},
    {28, 8},
    {25, 9},
}};

struct ArrowKeyCode {
  std::uint16_t keyCode;
  ArrowKey key;
};

inline constexpr std::array<ArrowKeyCode, 4> kArrowKeyCodes = {{
    {123, ArrowKey::left},
    {124, ArrowKey::right},
    {125, ArrowKey::down},
    {126, ArrowKey::up},
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
