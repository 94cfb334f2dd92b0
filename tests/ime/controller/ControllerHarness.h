// A controller wired to fakes: a recording client, the floating presenter over recording
// views, an in-memory preference store, a small lexicon and a user dictionary in a temporary
// folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/composition/KeyCode.h"
#include "engine/learning/TemporaryFolder.h"
#include "engine/store/InMemoryPreferenceStore.h"
#include "engine/text/Text.h"
#include "ime/controller/YakdromInputController.h"
#include "ime/fakes/FakePlatform.h"
#include "ime/fakes/FakeTextInputClient.h"
#include "ime/fakes/FakeWindows.h"
#include "ime/panel/FloatingCandidatePresenter.h"

namespace yakdrom::testing {

// The keys the tests type, named for what the engine's layout gives them.
inline constexpr std::uint16_t kBa = KeyCode::kF, kO = KeyCode::kO, kDa = KeyCode::kD,
                               kU = KeyCode::kU, kKa = KeyCode::kC, kTshegKey = KeyCode::kJ,
                               kShadKey = KeyCode::kQuote, kOne = KeyCode::kDigit1,
                               kTwo = KeyCode::kDigit2, kSeven = KeyCode::kDigit7,
                               kLeft = KeyCode::kLeft, kRight = KeyCode::kRight,
                               kDown = KeyCode::kDown, kUp = KeyCode::kUp;

using Call = FakeTextInputClient::Call;

inline Call inserted(std::string text) {
  return {Call::Kind::insert, std::move(text), {}, {TextRange::kNotFound, 0}};
}

inline Call marked(std::string text, std::int64_t utf16Length) {
  return {Call::Kind::mark,
          std::move(text),
          {utf16Length, 0},
          {TextRange::kNotFound, TextRange::kNotFound}};
}

class CountingSettingsWindow final : public SettingsWindowOpener {
 public:
  void show() override { ++shown; }
  int shown = 0;
};

class ControllerHarness : public ::testing::Test {
 protected:
  ControllerHarness() {
    const Screen screen{{{0, 0}, {1440, 900}}, {{0, 0}, {1440, 875}}};
    screens.list = {screen};
    screens.main = screen;
    client.lineRect = Rect{{300, 400}, {2, 18}};
    installLexicon({"བོད་", "བོད་པ་", "བོད་ཡིག་", "བོད་སྐད་", "དུས་", "དུས་ཚོད་", "ཀ་བ་"});
    controller = std::make_unique<YakdromInputController>(services(), &client);
  }

  InputControllerServices services() {
    return {settings,
            presenter,
            screens,
            log,
            languages,
            &settingsWindow,
            "org.freedesktop.IBus.Yakdrom",
            dictionary,
            userDictionary,
            statistics};
  }

  void installLexicon(std::vector<std::string> words) {
    for (auto& word : words) word = text::nfc(word);
    std::sort(words.begin(), words.end(), text::lexiconLess);
    dictionary.engine().install(std::move(words));
  }

  /// Presses the keys in order, without modifiers.
  void type(const std::vector<std::uint16_t>& keys) {
    for (const auto key : keys) (void)controller->inputText(key, 0, client);
  }

  /// Returns the client calls made since the last call of this function.
  std::vector<Call> takeCalls() { return std::exchange(client.calls, {}); }

  [[nodiscard]] std::vector<std::string> learntWords() const {
    std::vector<std::string> words;
    for (const auto& entry : userDictionary.allEntries()) words.push_back(entry.word);
    return words;
  }

  [[nodiscard]] const CandidateList& panel() const { return controller->candidates(); }

  std::unique_ptr<FakeCandidateWindowView> makeWindow() {
    auto view = std::make_unique<FakeCandidateWindowView>();
    window = view.get();
    return view;
  }

  TemporaryFolder folder;
  std::shared_ptr<InMemoryPreferenceStore> preferences =
      std::make_shared<InMemoryPreferenceStore>();
  FakeFontSystem fonts;
  FakeResourceLocator resources;
  YakdromSettings settings{*preferences, fonts, resources};
  FakeScreens screens;
  FakeTextMeasurer measurer;
  RecordingLog log;
  FakePreferredLanguages languages;
  CountingSettingsWindow settingsWindow;
  TibetanDictionary explanations;
  DictionaryStore dictionary{
      ApplicationBundle(std::make_shared<FakeResourceLocator>(), std::nullopt, {}, std::nullopt),
      log, explanations};
  UserDictionary userDictionary{folder / "user-dictionary.txt"};
  InputStatistics statistics{preferences};
  FakeTextInputClient client;
  FakeCandidateWindowView* window = nullptr;
  FloatingCandidatePresenter presenter{makeWindow(), std::make_unique<FakeExplanationBoxView>(),
                                       screens, measurer};
  std::unique_ptr<YakdromInputController> controller;
};

}  // namespace yakdrom::testing
