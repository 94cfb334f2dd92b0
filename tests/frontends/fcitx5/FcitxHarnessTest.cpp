// The Fcitx 5 test harness against input methods we did not write (fcitx5-m17n's Tibetan
// EWTS map and a map with a candidate list), so that a failing addon test points at the
// addon, not at the daemon, the bus or the client.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frontends/fcitx5/support/FcitxTestClient.h"
#include "frontends/fcitx5/support/FcitxTestDaemon.h"

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;
using Kind = FcitxEventKind;

const fs::path kM17nAddon = "/usr/share/fcitx5/addon/m17n.conf";
const fs::path kEwtsMap = "/usr/share/m17n/bo-ewts.mim";
const fs::path kHanMap = "/usr/share/m17n/vi-han.mim";
constexpr auto kDeadline = std::chrono::seconds(10);

FcitxKeyStroke key(const char* name) { return *FcitxKeyStroke::forName(name); }

class FcitxHarnessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fcitxProgram() || !busProgram()) GTEST_SKIP() << "fcitx5 or dbus-daemon is not installed";
    if (!fs::exists(kM17nAddon) || !fs::exists(kEwtsMap) || !fs::exists(kHanMap)) {
      GTEST_SKIP() << "fcitx5-m17n or m17n-db is not installed";
    }
    FcitxDaemonOptions options;
    options.addons = {"m17n"};
    ASSERT_TRUE(daemon_.start(options)) << daemon_.error();
  }

  // Connects a focused text field typing with `inputMethod`.
  [[nodiscard]] std::unique_ptr<FcitxTestClient> connect(const std::string& inputMethod) {
    auto client = std::make_unique<FcitxTestClient>();
    const bool ready = client->connect(daemon_.address()) && client->focusIn() &&
                       client->useInputMethod(inputMethod);
    if (!ready) ADD_FAILURE() << client->error() << "\n" << daemon_.log();
    client->clearEvents();
    return client;
  }

  FcitxTestDaemon daemon_;
};

TEST_F(FcitxHarnessTest, EwtsKeysCommitTheirTibetanAndShowTheSyllableUnderlined) {
  const auto client = connect("m17n_bo_ewts");
  // The map commits the prefix letter once the root follows, and keeps the stack open.
  ASSERT_TRUE(client->type("bkra")) << client->error();
  EXPECT_EQ(client->text(), "བ");
  EXPECT_EQ(client->preedit(), "ཀྲ");
  const auto preedits = client->events({Kind::updateFormattedPreedit});
  ASSERT_FALSE(preedits.empty()) << describe(client->events());
  EXPECT_TRUE(preedits.back().underlined()) << describe(preedits.back());
  EXPECT_EQ(preedits.back().cursor, 6);  // bytes: two Tibetan letters

  ASSERT_TRUE(client->type(" shis "));
  EXPECT_EQ(client->text(), "བཀྲ་ཤིས་") << describe(client->events());
  EXPECT_EQ(client->preedit(), "");
  EXPECT_TRUE(client->events({Kind::keyPassedThrough}).empty()) << describe(client->events());
}

TEST_F(FcitxHarnessTest, ACommitIsLoggedBeforeTheKeyItLetsThroughAndFocusOutCommits) {
  const auto client = connect("m17n_bo_ewts");
  ASSERT_TRUE(client->type("kh"));
  EXPECT_EQ(client->press(key("return")), false) << client->error();
  EXPECT_EQ(kindsOf(client->events({Kind::commitString, Kind::keyPassedThrough})),
            (std::vector{Kind::commitString, Kind::keyPassedThrough}))
      << describe(client->events());
  EXPECT_EQ(client->text(), "ཁ\n");

  ASSERT_TRUE(client->type("ga"));
  ASSERT_TRUE(client->focusOut());
  ASSERT_TRUE(client->waitFor([&] { return client->text() == "ཁ\nག"; }, kDeadline))
      << describe(client->events());
}

// The candidate list reaches a client only through the client-side panel signal; its labels,
// paging and selection are read the same way the addon's tests read ours.
TEST_F(FcitxHarnessTest, TheClientSidePanelCarriesPagesOfLabelledCandidates) {
  const auto client = connect("m17n_vi_han");
  ASSERT_TRUE(client->type("ti"));
  const auto panels = client->events({Kind::updateClientSideUI});
  ASSERT_FALSE(panels.empty()) << describe(client->events());
  const FcitxEvent first = panels.back();
  EXPECT_EQ(first.candidateLabels(),
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}));
  EXPECT_EQ(first.candidateIndex, 0);
  EXPECT_FALSE(first.hasPrev);
  EXPECT_TRUE(first.hasNext);

  client->clearEvents();
  ASSERT_TRUE(client->nextPage());
  ASSERT_TRUE(client->waitFor([&] { return !client->events({Kind::updateClientSideUI}).empty(); },
                              kDeadline));
  const FcitxEvent paged = client->events({Kind::updateClientSideUI}).back();
  EXPECT_TRUE(paged.hasPrev);
  ASSERT_GE(paged.candidates.size(), 2U) << describe(paged);
  EXPECT_NE(paged.candidateTexts(), first.candidateTexts());

  EXPECT_EQ(client->press(*FcitxKeyStroke::forCharacter('2')), true);
  EXPECT_EQ(client->text(), paged.candidates[1].text) << describe(client->events());
  EXPECT_EQ(client->preedit(), "");
}

TEST_F(FcitxHarnessTest, StopEndsTheDaemonAndItsBus) {
  const auto client = connect("m17n_bo_ewts");
  const pid_t pid = daemon_.pid();
  ASSERT_NE(pid, 0);
  daemon_.stop();
  EXPECT_FALSE(daemon_.running());
  EXPECT_FALSE(fs::exists(fs::path("/proc") / std::to_string(pid)));
  EXPECT_FALSE(client->press(*FcitxKeyStroke::forCharacter('k')).has_value());
}

}  // namespace
}  // namespace yakdrom::testing
