#include <gtest/gtest.h>

#include "ime/controller/ControllerHarness.h"

namespace yakdrom::testing {
namespace {

using Words = std::vector<std::string>;

class CandidateTest : public ControllerHarness {
 protected:
  const Words& shown() const { return panel().candidates(); }
};

TEST_F(CandidateTest, SettingsAreReadAtEachUpdate) {
  Words many;
  for (const char32_t first : {U'\u0F40', U'\u0F41'}) {
    for (char32_t second = 0x0F40; second < 0x0F40 + 30; ++second) {
      std::string word = "བོད་";
      text::appendUtf8(word, first);
      text::appendUtf8(word, second);
      many.push_back(word + "་");
    }
  }
  installLexicon(many);
  fonts.installed = {"Noto Serif Tibetan"};
  settings.setCandidateFontName("Noto Serif Tibetan");
  struct Case {
    std::int64_t storedCount;
    CandidatePanelStyle style;
    std::size_t pageSize;
    std::size_t listed;
  };
  const std::vector<Case> cases = {
      {3, CandidatePanelStyle::singleRow, 10, 50},
      {25, CandidatePanelStyle::grid, 10, 50},
      {5, CandidatePanelStyle::singleColumn, 5, 25},
      {20, CandidatePanelStyle::singleRow, 20, 60},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.storedCount);
    settings.setCandidateCount(c.storedCount);
    settings.setPanelStyle(c.style);
    type({kBa, kO});
    EXPECT_EQ(panel().pageSize(), c.pageSize);
    EXPECT_EQ(shown().size(), c.listed);
    EXPECT_EQ(panel().horizontal(), c.style == CandidatePanelStyle::singleRow);
    EXPECT_EQ(panel().grid(), c.style == CandidatePanelStyle::grid);
    EXPECT_EQ(panel().font(), (Font{"Noto Serif Tibetan", 20}));
    EXPECT_EQ(window->frame().origin.x, 300) << "placed at the client's caret";
    controller->commitComposition(&client);
  }
}

TEST_F(CandidateTest, DisabledSuggestionsShowNothingButStillLearnAndCount) {
  settings.setSuggestionEnabled(false);
  type({kBa, kO, kDa, kTshegKey});
  EXPECT_FALSE(controller->isPanelVisible());
  EXPECT_TRUE(controller->candidates().empty());
  EXPECT_EQ(controller->candidateBasePrefix(), "");
  EXPECT_EQ(learntWords(), Words{"བོད་"});
  EXPECT_EQ(statistics.totalCharacters(), 4);
  EXPECT_EQ(statistics.totalWords(), 1);
}

TEST_F(CandidateTest, CommitsLearnLexiconWordsAndRefreshAfterSeparators) {
  installLexicon({"བོད", "བོད་", "བོད།", "ཀ་བ་"});
  struct Case {
    std::vector<std::uint16_t> keys;
    Words learnt;
    bool refreshed;
  };
  const std::vector<Case> cases = {
      {{kBa, kO, kDa, kTshegKey}, {"བོད་"}, true},
      {{kBa, kO, kDa, kShadKey}, {"བོད།"}, true},
      {{kKa, kTshegKey}, {}, true},
      {{kBa, kO, kDa, kKa}, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys.size());
    ASSERT_TRUE(userDictionary.replaceAll(""));
    controller->activateServer(&client);
    type(c.keys);
    EXPECT_EQ(learntWords(), c.learnt);
    EXPECT_EQ(controller->isPanelVisible(), c.refreshed);
  }
}

TEST_F(CandidateTest, ConfirmingInsertsOnlyWhatTheClientLacks) {
  struct Case {
    const char* name;
    std::vector<std::uint16_t> keys;
    std::uint16_t choice;
    std::string insertion;
    std::string context;
  };
  const std::vector<Case> cases = {
      {"lexicon word over marked text", {kBa, kO}, kTwo, "བོད་པ་", "བོད་པ་"},
      {"particle after the context's only syllable",
       {kBa, kO, kDa, kTshegKey},
       kTwo,
       "ཀྱིས་",
       "བོད་ཀྱིས་"},
      {"particle after a longer context",
       {kKa, kTshegKey, kBa, kO, kDa, kTshegKey},
       kOne,
       "ཀྱི་",
       "ཀ་བོད་ཀྱི་"},
      {"particle chosen by its marked start",
       {kBa, kO, kDa, kTshegKey, kDa, kU},
       kOne,
       "དུ་",
       "བོད་དུ་"},
      {"syllable after the context's last tsheg", {kKa, kTshegKey, kDa, kU}, kOne, "དུས་", "ཀ་དུས་"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    controller->activateServer(&client);
    type(c.keys);
    takeCalls();
    const auto before = statistics.totalCharacters();
    EXPECT_TRUE(controller->inputText(c.choice, 0, client));
    ASSERT_FALSE(client.calls.empty());
    EXPECT_EQ(client.calls.front(), inserted(c.insertion));
    EXPECT_EQ(controller->committedText(), c.context);
    EXPECT_EQ(controller->engineState(), CompositionState{});
    EXPECT_EQ(statistics.totalCharacters(), before + text::scalarCount(c.insertion));
    takeCalls();
  }
  EXPECT_EQ(userDictionary.count(), 6U) << "each whole candidate and the typed \"བོད་\"";
}

TEST_F(CandidateTest, FallbackCandidatesDropThePartAfterTheContextsLastSeparator) {
  installLexicon({"བོཀ་", "བོཀ་པ་", "ཀ་བ་"});
  // ཀ cannot close བོ, so it commits བོ without a separator and starts a syllable.
  type({kKa, kTshegKey, kBa, kO, kKa});
  EXPECT_EQ(controller->committedText(), "ཀ་བོ");
  EXPECT_EQ(shown(), (Words{"བོཀ་", "བོཀ་པ་"}));
  EXPECT_EQ(controller->candidateBasePrefix(), "བོ");
  takeCalls();
  EXPECT_TRUE(controller->inputText(kTwo, 0, client));
  EXPECT_EQ(takeCalls(), std::vector<Call>{inserted("ཀ་པ་")});
}

TEST_F(CandidateTest, CandidateKeysActOnTheWindowByPanelStyle) {
  struct Case {
    CandidatePanelStyle style;
    std::uint16_t key;
    std::size_t selection;
    bool explanationVisible;
  };
  // Each arrow key once, and the styles' directions; the panel's own tests cover the rest.
  const std::vector<Case> cases = {
      {CandidatePanelStyle::singleColumn, kDown, 1, false},
      {CandidatePanelStyle::singleColumn, kUp, 3, false},
      {CandidatePanelStyle::grid, kRight, 0, true},
      {CandidatePanelStyle::singleRow, kLeft, 3, false},
      {CandidatePanelStyle::singleRow, kSeven, 0, false},  // beyond the page, still taken
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << rawValue(c.style) << " key " << c.key);
    settings.setPanelStyle(c.style);
    controller->activateServer(&client);
    type({kBa, kO});
    takeCalls();
    EXPECT_TRUE(controller->inputText(c.key, 0, client));
    EXPECT_TRUE(client.calls.empty());
    EXPECT_TRUE(controller->isPanelVisible());
    EXPECT_EQ(panel().selection(), c.selection);
    EXPECT_EQ(panel().explanationVisible(), c.explanationVisible);
  }
}

TEST_F(CandidateTest, ReturnAndSpaceConfirmTheSelectionAndEscapeOnlyHides) {
  for (const std::uint16_t key : {KeyCode::kReturn, KeyCode::kSpace}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(userDictionary.replaceAll(""));
    controller->activateServer(&client);
    type({kBa, kO, kDown});
    takeCalls();
    EXPECT_TRUE(controller->inputText(key, 0, client));
    EXPECT_EQ(takeCalls(), std::vector<Call>{inserted("བོད་པ་")});
  }
  type({kBa, kO});
  takeCalls();
  const auto state = controller->engineState();
  EXPECT_TRUE(controller->inputText(KeyCode::kEscape, 0, client));
  EXPECT_FALSE(controller->isPanelVisible());
  EXPECT_TRUE(client.calls.empty());
  EXPECT_EQ(controller->engineState(), state);
}

TEST_F(CandidateTest, ExplanationsComeFromTheLoadedLexicon) {
  explanations.install({{"བོད", "རྒྱལ་ཁབ།"}}, {}, {{"བོད་པ", "Tibetan"}});
  settings.setShowExplanation(true);
  settings.setExplanationLanguage(ExplanationLanguage::english);
  type({kBa, kO});
  EXPECT_EQ(window->last().rows[0].explanation, "རྒྱལ་ཁབ།");
  type({kDown});
  EXPECT_EQ(window->last().rows[1].explanation, "Tibetan");
}

}  // namespace
}  // namespace yakdrom::testing
