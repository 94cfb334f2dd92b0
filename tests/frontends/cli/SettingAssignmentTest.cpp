#include <gtest/gtest.h>

#include <string>

#include "engine/store/InMemoryPreferenceStore.h"
#include "frontends/cli/SettingAssignment.h"

namespace yakdrom::cli {
namespace {

TEST(SettingAssignment, StoresEachKeyWithTheTypeTheSettingsWindowWritesIt) {
  InMemoryPreferenceStore store;
  ASSERT_FALSE(applySetting("Yakdrom.candidateCount=7", store));
  ASSERT_FALSE(applySetting("Yakdrom.panelStyle=3", store));
  ASSERT_FALSE(applySetting("Yakdrom.candidateFontSize=18.5", store));
  ASSERT_FALSE(applySetting("Yakdrom.explanationFontSize=14", store));
  ASSERT_FALSE(applySetting("Yakdrom.showExplanation=true", store));
  ASSERT_FALSE(applySetting("Yakdrom.suggestionEnabled=false", store));
  ASSERT_FALSE(applySetting("Yakdrom.candidateFontName=Noto Serif Tibetan=Bold", store));
  ASSERT_FALSE(applySetting("Yakdrom.explanationFontName=", store));
  EXPECT_EQ(store.integer("Yakdrom.candidateCount"), 7);
  EXPECT_EQ(store.integer("Yakdrom.panelStyle"), 3);
  EXPECT_EQ(store.real("Yakdrom.candidateFontSize"), 18.5);
  // Sizes are numbers even when written without a fraction; counts never take one.
  EXPECT_EQ(store.real("Yakdrom.explanationFontSize"), 14.0);
  EXPECT_EQ(store.boolean("Yakdrom.showExplanation"), true);
  EXPECT_EQ(store.boolean("Yakdrom.suggestionEnabled"), false);
  // Typed values, never the text they were written as.
  for (const char* key :
       {"Yakdrom.candidateCount", "Yakdrom.candidateFontSize", "Yakdrom.showExplanation"}) {
    EXPECT_FALSE(store.string(key)) << key;
  }
  EXPECT_EQ(store.string("Yakdrom.candidateFontName"), "Noto Serif Tibetan=Bold");
  EXPECT_EQ(store.string("Yakdrom.explanationFontName"), "");
}

TEST(SettingAssignment, RefusesWhatTheSettingsCannotHoldAndStoresNothing) {
  struct Case {
    const char* assignment;
    const char* problem;
  };
  const Case cases[] = {
      {"Yakdrom.candidateCount=5.0", "Yakdrom.candidateCount takes an integer, not \"5.0\""},
      {"Yakdrom.candidateCount= 5", "Yakdrom.candidateCount takes an integer, not \" 5\""},
      {"Yakdrom.appearance=", "Yakdrom.appearance takes an integer, not \"\""},
      {"Yakdrom.candidateFontSize=nan", "Yakdrom.candidateFontSize takes a number, not \"nan\""},
      {"Yakdrom.candidateFontSize=1e999",
       "Yakdrom.candidateFontSize takes a number, not \"1e999\""},
      {"Yakdrom.showExplanation=1", "Yakdrom.showExplanation takes true or false, not \"1\""},
      {"Yakdrom.showExplanation=True", "Yakdrom.showExplanation takes true or false, not \"True\""},
      {"yakdrom.candidateCount=5", "unknown settings key \"yakdrom.candidateCount\""},
      {"Yakdrom.stats.totalWords=5", "unknown settings key \"Yakdrom.stats.totalWords\""},
      {"=5", "unknown settings key \"\""},
      {"Yakdrom.candidateCount", "\"Yakdrom.candidateCount\" is not KEY=VALUE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assignment);
    InMemoryPreferenceStore store;
    EXPECT_EQ(applySetting(c.assignment, store), c.problem);
    EXPECT_FALSE(store.contains("Yakdrom.candidateCount"));
    EXPECT_FALSE(store.contains("Yakdrom.appearance"));
    EXPECT_FALSE(store.contains("Yakdrom.candidateFontSize"));
    EXPECT_FALSE(store.contains("Yakdrom.showExplanation"));
  }
}

}  // namespace
}  // namespace yakdrom::cli
