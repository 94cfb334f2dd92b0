// libyakdrom-fcitx5 through a real fcitx5 daemon: the addon the daemon loads from the build
// tree, typed into over D-Bus as an application's text field would be, with the client drawing
// the candidate list itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/store/FilePreferenceStore.h"
#include "frontends/fcitx5/support/FcitxTestClient.h"
#include "frontends/fcitx5/support/FcitxTestDaemon.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;
using Kind = FcitxEventKind;

const fs::path kAddonFolder = YAKDROM_FCITX5_ADDON_DIR;
const fs::path kDataFolder = YAKDROM_FCITX5_DATA_DIR;
constexpr auto kDeadline = std::chrono::seconds(10);

KeyStroke key(const char* name) { return *KeyStroke::forName(name); }
KeyStroke character(char c) { return *KeyStroke::forCharacter(c); }

// Returns the last candidate panel the client was sent, or an empty one.
FcitxEvent lastPanel(const FcitxTestClient& client) {
  const auto panels = client.events({Kind::updateClientSideUI});
  return panels.empty() ? FcitxEvent{} : panels.back();
}

class FcitxEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fcitxProgram() || !busProgram()) GTEST_SKIP() << "fcitx5 or dbus-daemon is not installed";
    ASSERT_TRUE(fs::exists(kAddonFolder / "libyakdrom-fcitx5.so")) << kAddonFolder;
    ASSERT_TRUE(fs::exists(kDataFolder / "addon" / "yakdrom.conf")) << kDataFolder;
  }

  // Starts a daemon with our addon for a user with the settings `configure` writes.
  void startDaemon(const std::function<void(PreferenceStore&)>& configure = {}) {
    ASSERT_TRUE(daemon_.prepare()) << daemon_.error();
    if (configure) {
      FilePreferenceStore store(daemon_.configHome() / "Yakdrom" / "Yakdrom.ini");
      configure(store);
    }
    FcitxDaemonOptions options;
    options.addons = {"yakdrom"};
    options.environment = {
        {"FCITX_ADDON_DIRS", kAddonFolder.string() + ":" + systemAddonFolder().string()},
        {"FCITX_DATA_DIRS", kDataFolder.string() + ":" + systemDataFolder().string()}};
    ASSERT_TRUE(daemon_.start(options)) << daemon_.error();
  }

  // Connects a focused text field to the addon, once the addon has its lexicon: until then
  // keys get no candidates, as they would for a fast typist. A letter is typed and taken
  // back until the candidate list shows for it.
  [[nodiscard]] std::unique_ptr<FcitxTestClient> connect() {
    auto client = std::make_unique<FcitxTestClient>();
    const bool ready = client->connect(daemon_.address()) && client->focusIn() &&
                       client->useInputMethod("yakdrom");
    if (!ready) ADD_FAILURE() << client->error() << "\n" << daemon_.log();
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    bool offered = false;
    while (ready && !offered && std::chrono::steady_clock::now() < deadline) {
      (void)client->press(character('f'));
      offered = !lastPanel(*client).candidates.empty();
      (void)client->press(key("backspace"));
      if (!offered) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(offered) << "the addon offered no candidates" << describe(client->events()) << "\n"
                         << daemon_.log();
    client->clearEvents();
    return client;
  }

  FcitxTestDaemon daemon_;
};

TEST_F(FcitxEngineTest, TypedSyllablesArePreeditsUnderlinedUntilCommitted) {
  startDaemon();
  const auto client = connect();
  ASSERT_TRUE(client->type("fcmr")) << client->error();
  const auto preedits = client->events({Kind::updateFormattedPreedit});
  ASSERT_FALSE(preedits.empty()) << describe(client->events());
  EXPECT_EQ(preedits.back().text, "བཀྲ");
  EXPECT_TRUE(preedits.back().underlined()) << describe(preedits.back());
  EXPECT_EQ(preedits.back().cursor, 9);  // a byte offset, at the end
  EXPECT_EQ(client->text(), "");

  ASSERT_TRUE(client->type("jxisj"));
  EXPECT_EQ(client->text(), "བཀྲ་ཤིས་") << describe(client->events());
  EXPECT_EQ(client->preedit(), "");
}

TEST_F(FcitxEngineTest, TheCandidateListShowsLabelledPagesAndANumberConfirms) {
  startDaemon([](PreferenceStore& store) { store.setInteger(kCandidateCountKey, 5); });
  const auto client = connect();
  ASSERT_TRUE(client->type("fod"));
  const FcitxEvent first = lastPanel(*client);
  ASSERT_FALSE(first.candidates.empty()) << describe(client->events());
  EXPECT_EQ(first.candidateTexts().front(), "བོད་");
  EXPECT_EQ(first.candidateLabels(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(first.candidateIndex, 0);
  EXPECT_FALSE(first.hasPrev) << describe(first);
  EXPECT_TRUE(first.hasNext);

  client->clearEvents();
  ASSERT_TRUE(client->nextPage());
  ASSERT_TRUE(client->waitFor([&] { return !client->events({Kind::updateClientSideUI}).empty(); },
                              kDeadline));
  const FcitxEvent paged = lastPanel(*client);
  EXPECT_TRUE(paged.hasPrev);
  ASSERT_GE(paged.candidates.size(), 2U) << describe(paged);
  EXPECT_NE(paged.candidateTexts(), first.candidateTexts());
  EXPECT_EQ(paged.candidateLabels().front(), "1");

  // A number confirms the candidate with that label on the page shown.
  EXPECT_EQ(client->press(character('2')), true);
  EXPECT_EQ(client->text(), paged.candidates[1].text) << describe(client->events());
  EXPECT_EQ(client->preedit(), "");
  // What follows is the next word's suggestions, if any: never the page just confirmed.
  EXPECT_NE(lastPanel(*client).candidateTexts(), paged.candidateTexts())
      << describe(client->events());
}

TEST_F(FcitxEngineTest, TheSelectedCandidatesExplanationIsTheAuxiliaryText) {
  startDaemon([](PreferenceStore& store) {
    store.setBoolean(kShowExplanationKey, true);
    store.setInteger(kExplanationLanguageKey, 3);
  });
  const auto client = connect();
  ASSERT_TRUE(client->type("lo"));
  const FcitxEvent panel = lastPanel(*client);
  ASSERT_FALSE(panel.candidates.empty()) << describe(client->events());
  EXPECT_EQ(panel.candidateTexts().front(), "ལོ་");
  EXPECT_NE((panel.auxUp + panel.auxDown).find("year"), std::string::npos) << describe(panel);
}

TEST_F(FcitxEngineTest, LeavingTheFieldCommitsTheSyllableOnce) {
  startDaemon();
  const auto client = connect();
  ASSERT_TRUE(client->type("fod"));
  ASSERT_TRUE(client->focusOut());
  ASSERT_TRUE(client->waitFor([&] { return client->text() == "བོད"; }, kDeadline))
      << describe(client->events());
  ASSERT_TRUE(client->focusIn());
  ASSERT_TRUE(client->type("c"));
  EXPECT_EQ(client->shownText(), "བོདཀ") << describe(client->events());
  EXPECT_EQ(client->events({Kind::commitString}).size(), 1U) << describe(client->events());
}

// The first Escape hides the list and keeps the syllable; the second commits it as typed, and
// Space then reaches the application.
TEST_F(FcitxEngineTest, EscapeHidesTheListThenCommitsTheSyllable) {
  startDaemon();
  const auto client = connect();
  ASSERT_TRUE(client->type("fod"));
  ASSERT_FALSE(lastPanel(*client).candidates.empty()) << describe(client->events());
  EXPECT_EQ(client->press(key("escape")), true);
  EXPECT_TRUE(lastPanel(*client).candidates.empty()) << describe(client->events());
  EXPECT_EQ(client->preedit(), "བོད");
  EXPECT_EQ(client->press(key("escape")), true);
  EXPECT_EQ(client->press(key("space")), false);
  EXPECT_EQ(client->shownText(), "བོད ") << describe(client->events());
}

}  // namespace
}  // namespace yakdrom::testing
