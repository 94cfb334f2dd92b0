#include <gtest/gtest.h>

#include <map>

#include "engine/store/InMemoryPreferenceStore.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/panel/ExplanationProvider.h"

namespace yakdrom {
namespace {

ExplanationProvider table(std::map<std::string, std::string, std::less<>> entries) {
  return [entries = std::move(entries)](std::string_view word) -> std::optional<std::string> {
    const auto it = entries.find(word);
    if (it == entries.end()) return std::nullopt;
    return it->second;
  };
}

// "bo" has all three explanations, the others one each.
ExplanationSources sources() {
  return {table({{"bo", "bo-t"}, {"t-only", "tibetan"}}),
          table({{"bo", "bo-c"}, {"c-only", "chinese"}}),
          table({{"bo", "bo-e"}, {"e-only", "english"}})};
}

TEST(ChooseExplanationTest, EachLanguageFallsBackToItsOwnSecondChoice) {
  struct Case {
    std::string_view word;
    ExplanationLanguage language;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"bo", ExplanationLanguage::tibetan, "bo-t"},
      {"bo", ExplanationLanguage::chinese, "bo-c"},
      {"bo", ExplanationLanguage::english, "bo-e"},
      {"c-only", ExplanationLanguage::tibetan, "chinese"},
      {"t-only", ExplanationLanguage::english, "tibetan"},
      {"t-only", ExplanationLanguage::chinese, "tibetan"},
      {"e-only", ExplanationLanguage::chinese, std::nullopt},
      {"e-only", ExplanationLanguage::tibetan, std::nullopt},
      {"c-only", ExplanationLanguage::english, std::nullopt},
      {"none", ExplanationLanguage::tibetan, std::nullopt},
  };
  const auto all = sources();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.word) + " " + std::to_string(rawValue(c.language)));
    EXPECT_EQ(chooseExplanation(c.word, c.language, all), c.expected);
  }
  EXPECT_EQ(chooseExplanation("bo", ExplanationLanguage::chinese, {}), std::nullopt);
}

TEST(SettingsExplanationProviderTest, FollowsTheSettingsAtEachCall) {
  InMemoryPreferenceStore store;
  testing::FakeFontSystem fonts;
  testing::FakeResourceLocator resources;
  YakdromSettings settings(store, fonts, resources);
  const auto provider = settingsExplanationProvider(settings, sources());

  EXPECT_EQ(provider("bo"), std::nullopt);  // explanations are off by default
  settings.setShowExplanation(true);
  EXPECT_EQ(provider("bo"), "bo-t");
  settings.setExplanationLanguage(ExplanationLanguage::english);
  EXPECT_EQ(provider("bo"), "bo-e");
  settings.setShowExplanation(false);
  EXPECT_EQ(provider("bo"), std::nullopt);
}

}  // namespace
}  // namespace yakdrom
