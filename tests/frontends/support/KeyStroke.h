// The key events a US keyboard sends through IBus and Fcitx 5 alike: X keysym, evdev code and
// modifier state, as the Qt and GTK input-method modules pass them on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace yakdrom::testing {

/// One key; Fcitx's D-Bus front end is sent the X keycode, the evdev code plus 8.
struct KeyStroke {
  std::uint32_t keysym = 0;
  std::uint32_t code = 0;
  std::uint32_t state = 0;

  /// The state bit of Shift, the same in X, IBus and Fcitx.
  static constexpr std::uint32_t kShift = 1;

  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;

  /// Returns the stroke that types printable ASCII `c` (Shift in the state for the upper row
  /// of a key), or nothing for a character no US key types.
  [[nodiscard]] static std::optional<KeyStroke> forCharacter(char c);
  /// Returns the stroke of a named key ("space", "return", "tab", "backspace", "delete",
  /// "escape", "left", "right", "up", "down", "page_up", "page_down", "shift"), or nothing.
  [[nodiscard]] static std::optional<KeyStroke> forName(std::string_view name);
};

}  // namespace yakdrom::testing
