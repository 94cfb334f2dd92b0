// The key record that crosses from the front end into the composition engine: a macOS
// virtual key code (layout-independent key position) and the Shift/Option layer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace yakdrom {

/// Which of Shift and Option were held; the raw values are fixed (4, not 3, for both).
enum class ModifierLayer : std::uint8_t { none = 0, shift = 1, option = 2, shiftOption = 4 };

/// Returns the layer for the given modifier state.
[[nodiscard]] ModifierLayer modifierLayer(bool shift, bool option);

/// Returns the layer with raw value `raw`, or nothing for 3 and every value above 4.
[[nodiscard]] std::optional<ModifierLayer> modifierLayerFromRaw(std::uint8_t raw);

/// Returns the raw value of `layer`.
[[nodiscard]] constexpr std::uint8_t rawValue(ModifierLayer layer) {
  return static_cast<std::uint8_t>(layer);
}

/// Returns the layer's name as the layout tables spell it: "base", "shift", "option" or
/// "shiftOption"; "" for a value outside the enumeration.
[[nodiscard]] std::string_view layerName(ModifierLayer layer);

struct KeyInput {
  std::uint16_t keyCode = 0;
  ModifierLayer layer = ModifierLayer::none;

  friend bool operator==(const KeyInput&, const KeyInput&) = default;
};

}  // namespace yakdrom
