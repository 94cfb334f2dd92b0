// The key events a US keyboard sends through Fcitx 5's D-Bus front end: X keysym, evdev code
// and modifier state, as the Qt and GTK input-method modules pass them on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace yakdrom::testing {

/// One key as Fcitx carries it; the X keycode sent is the evdev code plus 8.
struct FcitxKeyStroke {
  std::uint32_t keysym = 0;
  std::uint32_t code = 0;
  std::uint32_t state = 0;

  friend bool operator==(const FcitxKeyStroke&, const FcitxKeyStroke&) = default;

  /// Returns the stroke that types printable ASCII `c` (Shift in the state for the upper row
  /// of a key), or nothing for a character no US key types.
  [[nodiscard]] static std::optional<FcitxKeyStroke> forCharacter(char c);
  /// Returns the stroke of a named key ("space", "return", "tab", "backspace", "delete",
  /// "escape", "left", "right", "up", "down", "page_up", "page_down", "shift"), or nothing.
  [[nodiscard]] static std::optional<FcitxKeyStroke> forName(std::string_view name);
};

}  // namespace yakdrom::testing
