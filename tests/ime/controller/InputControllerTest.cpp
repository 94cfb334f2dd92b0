#include <gtest/gtest.h>

#include "ime/controller/ControllerHarness.h"

namespace yakdrom::testing {
namespace {

using InputControllerTest = ControllerHarness;

constexpr std::uint16_t kSpace = KeyCode::kSpace, kReturn = KeyCode::kReturn;

TEST_F(InputControllerTest, EngineOutputsReachTheClientInOrder) {
  struct Case {
    const char* name;
    std::vector<std::uint16_t> keys;
    bool lastConsumed;
    std::vector<Call> calls;
  };
  const std::vector<Case> cases = {
      {"syllable and tsheg",
       {kBa, kO, kDa, kTshegKey},
       true,
       {marked("བ", 1), marked("བོ", 2), marked("བོད", 3), inserted("བོད་")}},
      {"letter that starts a new syllable",
       {kBa, kO, kDa, kKa},
       true,
       {marked("བ", 1), marked("བོ", 2), marked("བོད", 3), inserted("བོད"), marked("ཀ", 1)}},
      {"space after a half syllable", {kBa, kSpace}, false, {marked("བ", 1), inserted("བ")}},
      {"return after a half syllable",
       {kDa, kO, kReturn},
       false,
       {marked("ད", 1), marked("དོ", 2), inserted("དོ")}},
      {"space alone", {kSpace}, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    controller->activateServer(&client);
    takeCalls();
    bool consumed = false;
    for (const auto key : c.keys) consumed = controller->inputText(key, 0, client);
    EXPECT_EQ(consumed, c.lastConsumed);
    EXPECT_EQ(takeCalls(), c.calls);
    controller->deactivateServer(&client);
  }
}

TEST_F(InputControllerTest, ChordsPassThroughUntouchedEvenOverTheCandidateWindow) {
  type({kBa, kO});
  ASSERT_TRUE(controller->isPanelVisible());
  const CompositionState before = controller->engineState();
  takeCalls();
  for (const ModifierFlags flags : {kControlFlag, kCommandFlag, kControlFlag | kShiftFlag}) {
    SCOPED_TRACE(flags);
    EXPECT_FALSE(controller->inputText(kOne, flags, client));
    EXPECT_EQ(controller->engineState(), before);
    EXPECT_TRUE(client.calls.empty());
    EXPECT_TRUE(controller->isPanelVisible());
  }
}

TEST_F(InputControllerTest, ModifiersDecideWhetherTheCandidateWindowTakesTheKey) {
  struct Case {
    ModifierFlags flags;
    std::uint16_t key;
    bool consumed;
    std::vector<Call> calls;
  };
  // The window shows "བོད་" first over the marked "བོ"; a key the engine gets commits "བོ".
  const std::vector<Case> cases = {
      {0, kOne, true, {inserted("བོད་")}},
      {kCapsLockFlag, kOne, true, {inserted("བོད་")}},
      {kNumericPadFlag | kFunctionFlag, kDown, true, {}},
      {kShiftFlag, kOne, true, {inserted("བོ༪")}},
      {kHelpFlag, kOne, true, {inserted("བོ༡")}},
      {0x01000000, kOne, true, {inserted("བོ༡")}},
      {kOptionFlag, kDown, false, {inserted("བོ")}},
      // Caps Lock plays no part in the layer: the shift layer would give "ཀྵ".
      {kCapsLockFlag, kKa, true, {inserted("བོ"), marked("ཀ", 1)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.flags << " key " << std::dec << c.key);
    controller->activateServer(&client);
    type({kBa, kO});
    takeCalls();
    EXPECT_EQ(controller->inputText(c.key, c.flags, client), c.consumed);
    EXPECT_EQ(takeCalls(), c.calls);
  }
}

TEST_F(InputControllerTest, OwnWindowIsRecognisedByIdentifierAndPassesEveryKey) {
  struct Case {
    std::optional<std::string> clientIdentifier;
    std::optional<std::string> ownIdentifier;
    bool own;
  };
  const std::vector<Case> cases = {
      {"org.freedesktop.IBus.Yakdrom", "org.freedesktop.IBus.Yakdrom", true},
      {std::nullopt, std::nullopt, true},
      {"org.example.Editor", "org.freedesktop.IBus.Yakdrom", false},
      {std::nullopt, "org.freedesktop.IBus.Yakdrom", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clientIdentifier.value_or("(none)"));
    auto withIdentifier = services();
    withIdentifier.ownIdentifier = c.ownIdentifier;
    YakdromInputController own(withIdentifier, &client);
    client.identifier = c.clientIdentifier;
    own.activateServer(&client);
    EXPECT_EQ(own.isOwnAppClient(), c.own);
    EXPECT_EQ(client.keyboardLayout, kKeyboardLayout);
    takeCalls();
    EXPECT_EQ(own.inputText(kBa, 0, client), !c.own);
    EXPECT_EQ(client.calls.empty(), c.own);
    own.activateServer(nullptr);
    EXPECT_FALSE(own.isOwnAppClient());
  }
}

TEST_F(InputControllerTest, ActivationStartsAfreshAndStartsTheLexiconLoad) {
  type({kBa, kO, kDa, kTshegKey, kKa});
  ASSERT_TRUE(controller->lastCaretRect());
  takeCalls();
  controller->activateServer(&client);
  EXPECT_EQ(controller->engineState(), CompositionState{});
  EXPECT_EQ(controller->committedText(), "");
  EXPECT_FALSE(controller->lastCaretRect());
  EXPECT_TRUE(dictionary.started());
  EXPECT_TRUE(client.calls.empty());
}

TEST_F(InputControllerTest, CommitOnRequestInsertsTheSyllableWithoutLearningOrCounting) {
  type({kKa, kTshegKey});
  controller->commitComposition(&client);
  EXPECT_EQ(controller->committedText(), "ཀ་") << "an empty syllable changes nothing";

  type({kBa, kO, kDa});
  ASSERT_TRUE(controller->isPanelVisible());
  const auto characters = statistics.totalCharacters();
  takeCalls();
  controller->deactivateServer(&client);
  EXPECT_EQ(takeCalls(), std::vector<Call>{inserted("བོད")});
  EXPECT_EQ(controller->engineState(), CompositionState{});
  EXPECT_EQ(controller->committedText(), "");
  EXPECT_FALSE(controller->isPanelVisible());
  EXPECT_FALSE(controller->lastCaretRect());
  EXPECT_EQ(statistics.totalCharacters(), characters);
  EXPECT_TRUE(learntWords().empty());
}

TEST_F(InputControllerTest, MenuFollowsTheInterfaceLanguageAndOpensSettings) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"zh-Hant-TW", "en"}, "偏好设置…"}, {{"en-GB", "zh-CN"}, "Settings…"}, {{}, "Settings…"}};
  for (const auto& [preferred, title] : cases) {
    SCOPED_TRACE(title);
    languages.list = preferred;
    EXPECT_EQ(controller->menu(),
              (InputMethodMenu{"Yakdrom", {{title, ",", MenuAction::openSettings}}}));
  }
  controller->perform(MenuAction::openSettings);
  EXPECT_EQ(settingsWindow.shown, 1);
}

}  // namespace
}  // namespace yakdrom::testing
