#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <variant>

#include "engine/store/InMemoryPreferenceStore.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom {
namespace {

using testing::FakeFontSystem;
using testing::FakeResourceLocator;

class YakdromSettingsTest : public ::testing::Test {
 protected:
  InMemoryPreferenceStore store;
  FakeFontSystem fonts;
  FakeResourceLocator resources;
  YakdromSettings settings{store, fonts, resources};
};

using Reader = double (*)(const YakdromSettings&);

const Reader kCount = [](const YakdromSettings& s) -> double { return s.candidateCount(); };
const Reader kCandidateSize = [](const YakdromSettings& s) { return s.candidateFontSize(); };
const Reader kExplanationSize = [](const YakdromSettings& s) { return s.explanationFontSize(); };
const Reader kStyle = [](const YakdromSettings& s) -> double { return rawValue(s.panelStyle()); };
const Reader kLanguage = [](const YakdromSettings& s) -> double {
  return rawValue(s.explanationLanguage());
};
const Reader kAppearance = [](const YakdromSettings& s) -> double {
  return rawValue(s.appearancePreference());
};
const Reader kSuggestion = [](const YakdromSettings& s) -> double { return s.suggestionEnabled(); };
const Reader kExplain = [](const YakdromSettings& s) -> double { return s.showExplanation(); };

TEST_F(YakdromSettingsTest, StoredValuesOutsideTheirRangeOrTypeReadAsDefaults) {
  using Stored = std::variant<std::int64_t, double, std::string>;
  using I = std::int64_t;
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::string_view key;
    Stored stored;
    Reader read;
    double expected;  // enumerations: the raw value of the case read back
  };
  const Case cases[] = {
      {kCandidateCountKey, I{4}, kCount, 10},
      {kCandidateCountKey, I{5}, kCount, 5},
      {kCandidateCountKey, I{20}, kCount, 20},
      {kCandidateCountKey, I{21}, kCount, 10},
      {kCandidateCountKey, 7.9, kCount, 7},  // a stored real is truncated when read as a count
      {kCandidateCountKey, std::string("12"), kCount, 10},
      {kCandidateFontSizeKey, 0.0, kCandidateSize, 20},
      {kCandidateFontSizeKey, -3.0, kCandidateSize, 20},
      {kCandidateFontSizeKey, inf, kCandidateSize, 20},
      {kCandidateFontSizeKey, 26.5, kCandidateSize, 26.5},
      {kCandidateFontSizeKey, I{18}, kCandidateSize, 18},
      {kExplanationFontSizeKey, 0.0, kExplanationSize, 12},
      {kExplanationFontSizeKey, -1.0, kExplanationSize, 12},
      {kExplanationFontSizeKey, 14.0, kExplanationSize, 14},
      // Unknown raw values of an enumeration read as its first default.
      {kPanelStyleKey, I{0}, kStyle, 1},
      {kPanelStyleKey, I{7}, kStyle, 1},
      {kPanelStyleKey, I{2}, kStyle, 2},
      {kPanelStyleKey, I{3}, kStyle, 3},
      {kExplanationLanguageKey, I{0}, kLanguage, 1},
      {kExplanationLanguageKey, I{-1}, kLanguage, 1},
      {kExplanationLanguageKey, I{2}, kLanguage, 2},
      {kExplanationLanguageKey, I{3}, kLanguage, 3},
      {kAppearanceKey, I{5}, kAppearance, 0},
      {kAppearanceKey, I{-2}, kAppearance, 0},
      {kAppearanceKey, I{1}, kAppearance, 1},
      {kAppearanceKey, I{2}, kAppearance, 2},
      // A switch holding something else reads false unless it converts.
      {kSuggestionEnabledKey, std::string("maybe"), kSuggestion, 0},
      {kShowExplanationKey, I{1}, kExplain, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " #" + std::to_string(&c - cases));
    std::visit(
        [&](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::int64_t>) store.setInteger(c.key, v);
          if constexpr (std::is_same_v<T, double>) store.setReal(c.key, v);
          if constexpr (std::is_same_v<T, std::string>) store.setString(c.key, v);
        },
        c.stored);
    EXPECT_EQ(c.read(settings), c.expected);
  }
}

TEST_F(YakdromSettingsTest, WritesStoreValuesUncheckedUnderTheirKeys) {
  settings.setPanelStyle(CandidatePanelStyle::singleRow);
  settings.setAppearancePreference(AppearancePreference::dark);
  settings.setExplanationLanguage(ExplanationLanguage::english);
  settings.setCandidateCount(25);
  settings.setCandidateFontSize(-4);
  settings.setCandidateFontName("Noto Serif Tibetan");
  settings.setSuggestionEnabled(false);
  settings.setShowExplanation(true);

  EXPECT_EQ(store.integer("Yakdrom.panelStyle"), 3);
  EXPECT_EQ(store.integer("Yakdrom.appearance"), 2);
  EXPECT_EQ(store.integer("Yakdrom.explanationLanguage"), 3);
  EXPECT_EQ(store.integer("Yakdrom.candidateCount"), 25);
  EXPECT_EQ(store.real("Yakdrom.candidateFontSize"), -4.0);
  EXPECT_EQ(store.string("Yakdrom.candidateFontName"), "Noto Serif Tibetan");
  EXPECT_EQ(store.boolean("Yakdrom.suggestionEnabled"), false);
  EXPECT_EQ(store.boolean("Yakdrom.showExplanation"), true);
}

TEST_F(YakdromSettingsTest, EveryReadSeesTheStoreAsItIsNow) {
  store.setInteger(kCandidateCountKey, 7);
  EXPECT_EQ(settings.candidateCount(), 7);
  store.setInteger(kCandidateCountKey, 15);
  EXPECT_EQ(settings.candidateCount(), 15);
  store.remove(kCandidateCountKey);
  EXPECT_EQ(settings.candidateCount(), 10);
}

TEST_F(YakdromSettingsTest, CandidatesGoToTheDesktopPanelOnWaylandUnlessTheUserChose) {
  struct Case {
    std::optional<std::int64_t> stored;
    bool wayland;
    bool desktopPanel;
  };
  const Case cases[] = {
      {std::nullopt, false, false},
      {std::nullopt, true, true},
      {0, true, true},
      {1, true, false},
      {2, false, true},
      {9, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.stored.value_or(-1)) + (c.wayland ? " wayland" : " x11"));
    store.remove(kCandidateDisplayKey);
    if (c.stored) store.setInteger(kCandidateDisplayKey, *c.stored);
    EXPECT_EQ(settings.usesDesktopPanel(c.wayland), c.desktopPanel);
  }
}

TEST_F(YakdromSettingsTest, FontResolutionFallsBackToTheBundledFaceThenTheSystemFont) {
  // Installed font under the stored name: used as is.
  fonts.installed = {"Noto Serif Tibetan"};
  settings.setCandidateFontName("Noto Serif Tibetan");
  settings.setCandidateFontSize(24);
  EXPECT_EQ(settings.candidateFont(), (Font{"Noto Serif Tibetan", 24}));
  EXPECT_TRUE(fonts.registered.empty());

  // A name that no longer exists, no font file: the system font at the stored size.
  settings.setCandidateFontName("Removed Font");
  EXPECT_EQ(settings.candidateFont(), (Font{"System UI", 24}));

  // A font resolved is kept while its name and size stay; the platform is asked again when
  // either changes. With the program's own font file, its face wins over the system font.
  resources.files["Yakdrom-SN.ttf"] = "/bundle/Resources/Yakdrom-SN.ttf";
  fonts.facesInFile["/bundle/Resources/Yakdrom-SN.ttf"] = "Yakdrom-SN-R";
  EXPECT_EQ(settings.candidateFont(), (Font{"System UI", 24}));
  settings.setCandidateFontName("Another Removed Font");
  EXPECT_EQ(settings.candidateFont(), (Font{"Yakdrom-SN-R", 24}));
  EXPECT_EQ(settings.candidateFont(), (Font{"Yakdrom-SN-R", 24}));
  ASSERT_EQ(fonts.registered.size(), 1U);
  EXPECT_EQ(fonts.registered[0], "/bundle/Resources/Yakdrom-SN.ttf");

  // The explanation font resolves the same way, with its own default size.
  EXPECT_EQ(settings.explanationFont(), (Font{"Yakdrom-SN-R", 12}));
}

TEST_F(YakdromSettingsTest, AFontFileThatFailsToRegisterLeavesTheSystemFont) {
  resources.files["Yakdrom-SN.ttf"] = "/broken/Yakdrom-SN.ttf";
  EXPECT_EQ(settings.explanationFont(), (Font{"System UI", 12}));
  EXPECT_EQ(fonts.registered.size(), 1U);
}

TEST(InterfaceLanguageTest, FirstPreferredLanguageDecides) {
  struct Case {
    std::vector<std::string> preferred;
    InterfaceLanguage expected;
  };
  const Case cases[] = {
      {{"zh-Hans-CN"}, InterfaceLanguage::chinese},
      {{"zh-TW", "en-US"}, InterfaceLanguage::chinese},
      {{"zh"}, InterfaceLanguage::chinese},
      {{"en-US", "zh-CN"}, InterfaceLanguage::english},
      {{"bo-CN"}, InterfaceLanguage::english},
      {{}, InterfaceLanguage::english},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preferred.empty() ? "(empty)" : c.preferred.front());
    testing::FakePreferredLanguages languages;
    languages.list = c.preferred;
    EXPECT_EQ(interfaceLanguage(languages), c.expected);
  }
}

TEST(SettingChoicesTest, RawValuesRoundTripAndUnknownOnesGiveNothing) {
  for (const auto& entry : allChoices<CandidatePanelStyle>()) {
    EXPECT_EQ(choiceFromRawValue<CandidatePanelStyle>(rawValue(entry.choice)), entry.choice);
  }
  EXPECT_FALSE(choiceFromRawValue<CandidatePanelStyle>(0));
  EXPECT_FALSE(choiceFromRawValue<ExplanationLanguage>(4));
  EXPECT_FALSE(choiceFromRawValue<AppearancePreference>(3));
}

}  // namespace
}  // namespace yakdrom
