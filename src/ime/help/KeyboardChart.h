// The keyboard layout as a chart for people: the US key positions row by row, and for each
// key what it types in every layer, or in a dead-key mode. Derived from the engine's own
// key and dead-key tables, so the chart says what the keys do. Any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/KeyInput.h"

namespace yakdrom {

/// What kind of sign a key types, so charts can tell them apart.
enum class GlyphClass { consonant, vowelSign, mark, digit, deadKey };

/// What one key types in one layer: text, or for a dead key the mode's key ("M" or "⇧M").
struct ChartGlyph {
  std::string text;
  GlyphClass glyphClass = GlyphClass::mark;

  bool operator==(const ChartGlyph&) const = default;
};

struct ChartKey {
  std::uint16_t code = 0;
  char label = 0;         // the US key's character without Shift
  char shiftedLabel = 0;  // and with Shift
  /// Indexed by kChartLayers; empty where the key types nothing in that layer.
  std::array<std::optional<ChartGlyph>, 4> glyphs{};
};

/// The layers a chart shows, in this order: plain, Shift, Option, Shift+Option.
inline constexpr std::array<ModifierLayer, 4> kChartLayers = {
    ModifierLayer::none, ModifierLayer::shift, ModifierLayer::option, ModifierLayer::shiftOption};

struct KeyboardChart {
  /// The dead-key mode shown, or nothing for the keys as they type from an empty state.
  std::optional<std::string> mode;
  /// The four rows of character keys, top to bottom, each from left to right.
  std::vector<std::vector<ChartKey>> rows;

  /// Returns the chart of what every key types from an empty state.
  [[nodiscard]] static KeyboardChart keys();
  /// Returns the chart of what every key gives right after the dead key of `mode` ("m" for
  /// M, "M" for Shift+M).
  [[nodiscard]] static KeyboardChart afterDeadKey(std::string_view mode);
  /// Returns the dead-key modes there are, in the order of their layers ("m", then "M").
  [[nodiscard]] static std::vector<std::string> deadKeyModes();

  /// Returns `glyph`'s text as a chart shows it: a combining sign on a dotted circle (U+25CC),
  /// as it would show on nothing at all.
  [[nodiscard]] static std::string shown(const ChartGlyph& glyph);

  /// Returns the class of the sign `text` begins with.
  [[nodiscard]] static GlyphClass classOf(std::string_view text);
};

}  // namespace yakdrom
