// The key events a US keyboard sends through IBus: X keysym, evdev code and modifier state,
// as the Qt and GTK input-method modules pass them on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace yakdrom::testing {

/// One key as IBus carries it.
struct IBusKeyStroke {
  std::uint32_t keyval = 0;
  std::uint32_t keycode = 0;
  std::uint32_t state = 0;

  friend bool operator==(const IBusKeyStroke&, const IBusKeyStroke&) = default;

  /// Returns the stroke that types printable ASCII `c` (Shift in the state for the upper row
  /// of a key), or nothing for a character no US key types.
  [[nodiscard]] static std::optional<IBusKeyStroke> forCharacter(char c);
  /// Returns the stroke of a named key ("space", "return", "tab", "backspace", "delete",
  /// "escape", "left", "right", "up", "down", "page_up", "page_down", "shift"), or nothing.
  [[nodiscard]] static std::optional<IBusKeyStroke> forName(std::string_view name);
};

}  // namespace yakdrom::testing
