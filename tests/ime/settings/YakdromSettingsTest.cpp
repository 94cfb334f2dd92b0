#include <gtest/gtest.h>

#include <functional>
#include <limits>
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

TEST_F(YakdromSettingsTest, FreshInstallationReadsTheDefaults) {
  EXPECT_EQ(settings.candidateFontName(), "Yakdrom-SN");
  EXPECT_EQ(settings.candidateFontSize(), 20.0);
  EXPECT_EQ(settings.candidateCount(), 10);
  EXPECT_EQ(settings.panelStyle(), CandidatePanelStyle::singleColumn);
  EXPECT_TRUE(settings.suggestionEnabled());
  EXPECT_FALSE(settings.showExplanation());
  EXPECT_EQ(settings.appearancePreference(), AppearancePreference::system);
  EXPECT_EQ(settings.explanationLanguage(), ExplanationLanguage::tibetan);
  EXPECT_EQ(settings.explanationFontName(), "Yakdrom-SN");
  EXPECT_EQ(settings.explanationFontSize(), 12.0);
}

using Reader = std::function<double(const YakdromSettings&)>;

const Reader kCount = [](const YakdromSettings& s) { return s.candidateCount(); };
const Reader kCandidateSize = [](const YakdromSettings& s) { return s.candidateFontSize(); };
const Reader kExplanationSize = [](const YakdromSettings& s) { return s.explanationFontSize(); };
const Reader kStyle = [](const YakdromSettings& s) { return rawValue(s.panelStyle()); };
const Reader kLanguage = [](const YakdromSettings& s) { return rawValue(s.explanationLanguage()); };
const Reader kAppearance = [](const YakdromSettings& s) {
  return rawValue(s.appearancePreference());
};

TEST_F(YakdromSettingsTest, NumbersOutsideTheirRangeReadAsDefaults) {
  using Stored = std::variant<std::int64_t, double, std::string>;
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::string_view key;
    Stored stored;
    const Reader& read;
    double expected;
  };
  const Case cases[] = {
      {kCandidateCountKey, std::int64_t{4}, kCount, 10},
      {kCandidateCountKey, std::int64_t{5}, kCount, 5},
      {kCandidateCountKey, std::int64_t{20}, kCount, 20},
      {kCandidateCountKey, std::int64_t{21}, kCount, 10},
      {kCandidateCountKey, 7.9, kCount, 7},  // a stored real is truncated when read as a count
      {kCandidateCountKey, std::string("12"), kCount, 10},
      {kCandidateFontSizeKey, 0.0, kCandidateSize, 20},
      {kCandidateFontSizeKey, -3.0, kCandidateSize, 20},
      {kCandidateFontSizeKey, inf, kCandidateSize, 20},
      {kCandidateFontSizeKey, 26.5, kCandidateSize, 26.5},
      {kCandidateFontSizeKey, std::int64_t{18}, kCandidateSize, 18},
      {kExplanationFontSizeKey, 0.0, kExplanationSize, 12},
      {kExplanationFontSizeKey, -1.0, kExplanationSize, 12},
      {kExplanationFontSizeKey, 14.0, kExplanationSize, 14},
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

TEST_F(YakdromSettingsTest, EnumerationsReadUnknownRawValuesAsTheFirstDefault) {
  struct Case {
    std::string_view key;
    std::int64_t raw;
    const Reader& read;
    double expected;  // the raw value of the case read back
  };
  const Case cases[] = {
      {kPanelStyleKey, 0, kStyle, 1},
      {kPanelStyleKey, 7, kStyle, 1},
      {kPanelStyleKey, 2, kStyle, 2},
      {kPanelStyleKey, 3, kStyle, 3},
      {kExplanationLanguageKey, 0, kLanguage, 1},
      {kExplanationLanguageKey, -1, kLanguage, 1},
      {kExplanationLanguageKey, 2, kLanguage, 2},
      {kExplanationLanguageKey, 3, kLanguage, 3},
      {kAppearanceKey, 5, kAppearance, 0},
      {kAppearanceKey, -2, kAppearance, 0},
      {kAppearanceKey, 1, kAppearance, 1},
      {kAppearanceKey, 2, kAppearance, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + std::to_string(c.raw));
    store.setInteger(c.key, c.raw);
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
  // The read rules apply on the way back.
  EXPECT_EQ(settings.candidateCount(), 10);
  EXPECT_EQ(settings.candidateFontSize(), 20.0);
  EXPECT_FALSE(settings.suggestionEnabled());
  EXPECT_TRUE(settings.showExplanation());
}

TEST_F(YakdromSettingsTest, SwitchesHoldingSomethingElseReadFalse) {
  store.setString(kSuggestionEnabledKey, "maybe");
  store.setInteger(kShowExplanationKey, 1);
  EXPECT_FALSE(settings.suggestionEnabled());
  EXPECT_TRUE(settings.showExplanation());
}

TEST_F(YakdromSettingsTest, EveryReadSeesTheStoreAsItIsNow) {
  store.setInteger(kCandidateCountKey, 7);
  EXPECT_EQ(settings.candidateCount(), 7);
  store.setInteger(kCandidateCountKey, 15);
  EXPECT_EQ(settings.candidateCount(), 15);
  store.remove(kCandidateCountKey);
  EXPECT_EQ(settings.candidateCount(), 10);
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

  // With the program's own font file, its face wins over the system font.
  resources.files["Yakdrom-SN.ttf"] = "/bundle/Resources/Yakdrom-SN.ttf";
  fonts.facesInFile["/bundle/Resources/Yakdrom-SN.ttf"] = "Yakdrom-SN-R";
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

TEST(SettingChoicesTest, LabelsFollowTheInterfaceLanguage) {
  const auto zh = InterfaceLanguage::chinese;
  const auto en = InterfaceLanguage::english;
  EXPECT_EQ(label(CandidatePanelStyle::singleColumn, zh), "单列");
  EXPECT_EQ(label(CandidatePanelStyle::grid, en), "Grid");
  EXPECT_EQ(label(CandidatePanelStyle::singleRow, zh), "单行");
  EXPECT_EQ(label(ExplanationLanguage::chinese, zh), "汉文");
  EXPECT_EQ(label(ExplanationLanguage::english, en), "English");
  EXPECT_EQ(label(AppearancePreference::system, zh), "系统默认");
  EXPECT_EQ(label(AppearancePreference::dark, zh), "暗黑");
  EXPECT_EQ(label(AppearancePreference::light, en), "Light");
}

TEST(SettingChoicesTest, RawValuesRoundTripAndUnknownOnesGiveNothing) {
  for (const auto& entry : allChoices<CandidatePanelStyle>()) {
    EXPECT_EQ(choiceFromRawValue<CandidatePanelStyle>(rawValue(entry.choice)), entry.choice);
  }
  EXPECT_EQ(allChoices<AppearancePreference>().front().choice, AppearancePreference::system);
  EXPECT_EQ(allChoices<ExplanationLanguage>().back().choice, ExplanationLanguage::english);
  EXPECT_FALSE(choiceFromRawValue<CandidatePanelStyle>(0));
  EXPECT_FALSE(choiceFromRawValue<ExplanationLanguage>(4));
  EXPECT_FALSE(choiceFromRawValue<AppearancePreference>(3));
}

}  // namespace
}  // namespace yakdrom
