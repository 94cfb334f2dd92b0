#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "engine/store/InMemoryPreferenceStore.h"
#include "frontends/cli/SettingAssignment.h"

namespace yakdrom::cli {
namespace {

// Stores `assignment` and returns the problem, if any.
std::optional<std::string> problem(std::string_view assignment, PreferenceStore& store) {
  return applySetting(assignment, store).problem;
}

TEST(SettingAssignment, StoresEachKeyWithTheTypeTheSettingsWindowWritesIt) {
  InMemoryPreferenceStore store;
  ASSERT_FALSE(problem("Yakdrom.candidateCount=7", store));
  ASSERT_FALSE(problem("Yakdrom.panelStyle=3", store));
  ASSERT_FALSE(problem("Yakdrom.candidateFontSize=18.5", store));
  ASSERT_FALSE(problem("Yakdrom.explanationFontSize=14", store));
  ASSERT_FALSE(problem("Yakdrom.showExplanation=true", store));
  ASSERT_FALSE(problem("Yakdrom.suggestionEnabled=false", store));
  ASSERT_FALSE(problem("Yakdrom.candidateFontName=Noto Serif Tibetan=Bold", store));
  ASSERT_FALSE(problem("Yakdrom.explanationFontName=", store));
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
    EXPECT_EQ(problem(c.assignment, store), c.problem);
    EXPECT_FALSE(store.contains("Yakdrom.candidateCount"));
    EXPECT_FALSE(store.contains("Yakdrom.appearance"));
    EXPECT_FALSE(store.contains("Yakdrom.candidateFontSize"));
    EXPECT_FALSE(store.contains("Yakdrom.showExplanation"));
  }
}

TEST(SettingAssignment, WarnsOfValuesTheSettingsReadAsAnotherAndStoresThemAsGiven) {
  struct Case {
    const char* assignment;
    const char* used;  // null when the settings take the value as it is
  };
  const Case cases[] = {
      {"Yakdrom.candidateCount=99", "10"},
      {"Yakdrom.candidateCount=4", "10"},
      {"Yakdrom.candidateCount=5", nullptr},
      {"Yakdrom.candidateCount=020", nullptr},
      {"Yakdrom.candidateCount=21", "10"},
      {"Yakdrom.panelStyle=0", "1"},
      {"Yakdrom.panelStyle=3", nullptr},
      {"Yakdrom.appearance=0", nullptr},
      {"Yakdrom.appearance=-1", "0"},
      {"Yakdrom.explanationLanguage=4", "1"},
      {"Yakdrom.explanationLanguage=2", nullptr},
      {"Yakdrom.candidateFontSize=0", "20"},
      {"Yakdrom.candidateFontSize=18.5", nullptr},
      {"Yakdrom.candidateFontSize=2e1", nullptr},
      {"Yakdrom.explanationFontSize=-2.5", "12"},
      {"Yakdrom.showExplanation=false", nullptr},
      {"Yakdrom.candidateFontName=", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.assignment);
    InMemoryPreferenceStore store;
    const auto applied = applySetting(c.assignment, store);
    EXPECT_FALSE(applied.problem);
    const auto expected =
        c.used ? std::optional<std::string>(std::string(c.assignment) +
                                            " is out of range; the input method uses " + c.used)
               : std::nullopt;
    EXPECT_EQ(applied.warning, expected);
  }
  InMemoryPreferenceStore store;
  (void)applySetting("Yakdrom.candidateCount=99", store);
  EXPECT_EQ(store.integer("Yakdrom.candidateCount"), 99);
}

}  // namespace
}  // namespace yakdrom::cli
