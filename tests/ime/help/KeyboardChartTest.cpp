#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/KeyCode.h"
#include "engine/text/Text.h"
#include "ime/help/KeyboardChart.h"

namespace yakdrom {
namespace {

// What the client shows after `result`: the text committed and the text marked.
std::string textOf(const CompositionEngine::Result& result) {
  return result.output.committed + result.output.marked;
}

std::string traceOf(const ChartKey& key, std::size_t layer) {
  return std::string("key '") + key.label + "' layer " + std::to_string(layer);
}

// The chart is read off the tables; the engine is what types. They must agree on every key
// in every layer, or the chart would teach the wrong key.
TEST(KeyboardChartTest, EveryKeyShowsWhatTheEngineTypesFromAnEmptyState) {
  for (const auto& row : KeyboardChart::keys().rows) {
    for (const ChartKey& key : row) {
      for (std::size_t i = 0; i < kChartLayers.size(); ++i) {
        SCOPED_TRACE(traceOf(key, i));
        const auto result = CompositionEngine::handle({key.code, kChartLayers[i]}, {});
        const auto& glyph = key.glyphs[i];
        if (!glyph) {
          EXPECT_EQ(textOf(result), "");
        } else if (glyph->glyphClass == GlyphClass::deadKey) {
          EXPECT_EQ(textOf(result), "");
          EXPECT_TRUE(result.state.legacyMode.has_value());
        } else {
          EXPECT_EQ(textOf(result), glyph->text);
        }
      }
    }
  }
}

TEST(KeyboardChartTest, AfterEachDeadKeyEveryKeyShowsWhatTheEngineGives) {
  const auto modes = KeyboardChart::deadKeyModes();
  ASSERT_EQ(modes, (std::vector<std::string>{"m", "M"}));
  for (const std::string& mode : modes) {
    const ModifierLayer deadLayer = mode == "m" ? ModifierLayer::none : ModifierLayer::shift;
    const auto dead = CompositionEngine::handle({KeyCode::kM, deadLayer}, {});
    ASSERT_EQ(dead.state.legacyMode, mode);
    for (const auto& row : KeyboardChart::afterDeadKey(mode).rows) {
      for (const ChartKey& key : row) {
        for (std::size_t i = 0; i < kChartLayers.size(); ++i) {
          SCOPED_TRACE(mode + " then " + traceOf(key, i));
          const KeyInput input{key.code, kChartLayers[i]};
          const auto result = CompositionEngine::handle(input, dead.state);
          // Where the chart shows nothing, the key types as it does without the dead key.
          const std::string expected =
              key.glyphs[i] ? key.glyphs[i]->text : textOf(CompositionEngine::handle(input, {}));
          EXPECT_EQ(textOf(result), expected);
        }
      }
    }
  }
}

TEST(KeyboardChartTest, CoversEveryUsCharacterKeyOnceAndEachSignIsOneCharacter) {
  const KeyboardChart chart = KeyboardChart::keys();
  std::vector<std::size_t> lengths;
  std::set<std::uint16_t> codes;
  for (const auto& row : chart.rows) {
    lengths.push_back(row.size());
    for (const ChartKey& key : row) {
      EXPECT_TRUE(codes.insert(key.code).second) << key.label;
      for (const auto& glyph : key.glyphs) {
        // A terminal gives each sign one column; dead keys show as a symbol of their own.
        if (glyph && glyph->glyphClass != GlyphClass::deadKey) {
          EXPECT_EQ(text::characterCount(KeyboardChart::shown(*glyph)), 1U) << glyph->text;
        }
      }
    }
  }
  EXPECT_EQ(lengths, (std::vector<std::size_t>{13, 13, 11, 10}));
}

TEST(KeyboardChartTest, SignsAreClassedAndCombiningOnesShownOnADottedCircle) {
  const std::pair<const char*, GlyphClass> classes[] = {
      {"ཀ", GlyphClass::consonant}, {"ྐ", GlyphClass::consonant}, {"ི", GlyphClass::vowelSign},
      {"ཱ", GlyphClass::vowelSign},  {"༡", GlyphClass::digit},    {"།", GlyphClass::mark},
      {"ཾ", GlyphClass::mark},       {"", GlyphClass::mark}};
  for (const auto& [text, expected] : classes) {
    SCOPED_TRACE(text);
    EXPECT_EQ(KeyboardChart::classOf(text), expected);
  }
  EXPECT_EQ(KeyboardChart::shown({"ི", GlyphClass::vowelSign}), "◌ི");
  EXPECT_EQ(KeyboardChart::shown({"ཀ", GlyphClass::consonant}), "ཀ");
}

}  // namespace
}  // namespace yakdrom
