#include "ime/help/KeyboardChart.h"

#include <algorithm>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/KeyCode.h"
#include "engine/composition/KeyMapping.h"
#include "engine/composition/LegacyModes.h"
#include "engine/composition/TibetanNormalizer.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

// The character keys of a US keyboard, row by row, by the character each types.
constexpr std::array<std::string_view, 4> kRows = {"`1234567890-=", "qwertyuiop[]\\", "asdfghjkl;'",
                                                   "zxcvbnm,./"};

// Tibetan code points by class; anything else is a mark.
struct ClassRange {
  char32_t first;
  char32_t last;
  GlyphClass glyphClass;
};

constexpr std::array<ClassRange, 6> kClassRanges = {{
    {0x0F20, 0x0F33, GlyphClass::digit},
    {0x0F40, 0x0F6C, GlyphClass::consonant},
    {0x0F71, 0x0F7D, GlyphClass::vowelSign},
    {0x0F80, 0x0F81, GlyphClass::vowelSign},
    {0x0F88, 0x0F8C, GlyphClass::consonant},
    {0x0F8D, 0x0FBC, GlyphClass::consonant},
}};

ChartKey keyAt(char label) {
  const auto& keys = KeyCode::kNamedKeys;
  const auto it = std::find_if(keys.begin(), keys.end(),
                               [label](const KeyCode::NamedKey& k) { return k.plain == label; });
  return {it->code, it->plain, it->shifted, {}};
}

ChartGlyph glyphOf(std::string text) {
  const GlyphClass glyphClass = KeyboardChart::classOf(text);
  return {std::move(text), glyphClass};
}

// What the key types in its layer from an empty state, read off the tables in the order the
// engine consults them: Shift+Option passes every key through, then the dead key, the
// separator keys, and the layer's table, whose entries of more than one character the
// engine does not type.
std::optional<ChartGlyph> typed(const KeyInput& input) {
  if (input.layer == ModifierLayer::shiftOption) return std::nullopt;
  if (CompositionEngine::stateEntryAction(input)) {
    return ChartGlyph{input.layer == ModifierLayer::shift ? "⇧M" : "M", GlyphClass::deadKey};
  }
  if (auto separator = CompositionEngine::separatorOf(input.keyCode)) {
    return glyphOf(std::string(*separator));
  }
  auto text = CompositionEngine::directChar(input);
  if (!text || text::characterCount(*text) != 1) return std::nullopt;
  return glyphOf(std::move(*text));
}

// What the key gives in dead-key `mode`: the dead-key table's output as the engine looks it
// up and shows it (normalised); nothing where the key acts as without the dead key.
std::optional<ChartGlyph> afterMode(const KeyInput& input, std::string_view mode) {
  const auto transition = LegacyModes::transition(input, mode, SyllableModel{});
  if (!transition || transition->kind != LegacyTransition::Kind::output) return std::nullopt;
  return glyphOf(TibetanNormalizer::normalize(transition->text));
}

template <class Glyph>
KeyboardChart chartOf(std::optional<std::string> mode, Glyph glyph) {
  KeyboardChart chart{std::move(mode), {}};
  for (const std::string_view row : kRows) {
    std::vector<ChartKey>& keys = chart.rows.emplace_back();
    for (const char label : row) {
      ChartKey key = keyAt(label);
      for (std::size_t i = 0; i < kChartLayers.size(); ++i) {
        key.glyphs[i] = glyph(KeyInput{key.code, kChartLayers[i]});
      }
      keys.push_back(key);
    }
  }
  return chart;
}

}  // namespace

KeyboardChart KeyboardChart::keys() { return chartOf(std::nullopt, typed); }

KeyboardChart KeyboardChart::afterDeadKey(std::string_view mode) {
  return chartOf(std::string(mode),
                 [mode](const KeyInput& input) { return afterMode(input, mode); });
}

std::vector<std::string> KeyboardChart::deadKeyModes() {
  std::vector<std::string> modes;
  for (const ModifierLayer layer : kChartLayers) {
    if (auto mode = CompositionEngine::stateEntryAction({KeyCode::kM, layer})) {
      modes.push_back(*mode);
    }
  }
  return modes;
}

std::string KeyboardChart::shown(const ChartGlyph& glyph) {
  if (glyph.text.empty() || !text::isMark(text::firstScalar(glyph.text))) return glyph.text;
  return "\u25CC" + glyph.text;
}

GlyphClass KeyboardChart::classOf(std::string_view text) {
  const char32_t first = text::firstScalar(text);
  for (const ClassRange& range : kClassRanges) {
    if (first >= range.first && first <= range.last) return range.glyphClass;
  }
  return GlyphClass::mark;
}

}  // namespace yakdrom
