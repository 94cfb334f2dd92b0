#include "engine/composition/KeyInput.h"

namespace yakdrom {

ModifierLayer modifierLayer(bool shift, bool option) {
  if (shift && option) return ModifierLayer::shiftOption;
  if (shift) return ModifierLayer::shift;
  return option ? ModifierLayer::option : ModifierLayer::none;
}

std::optional<ModifierLayer> modifierLayerFromRaw(std::uint8_t raw) {
  switch (raw) {
    case rawValue(ModifierLayer::none):
    case rawValue(ModifierLayer::shift):
    case rawValue(ModifierLayer::option):
    case rawValue(ModifierLayer::shiftOption):
      return static_cast<ModifierLayer>(raw);
    default:
      return std::nullopt;
  }
}

std::string_view layerName(ModifierLayer layer) {
  switch (layer) {
    case ModifierLayer::none:
      return "base";
    case ModifierLayer::shift:
      return "shift";
    case ModifierLayer::option:
      return "option";
    case ModifierLayer::shiftOption:
      return "shiftOption";
  }
  return {};  // a value outside the enumeration names no layer
}

}  // namespace yakdrom
