// yakdrom-ibus through a real ibus-daemon: the engine the daemon starts from our component
// file, typed into by a libibus client as an application's text field would be.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/learning/TemporaryFolder.h"
#include "frontends/ibus/support/IBusTestClient.h"
#include "frontends/ibus/support/IBusTestDaemon.h"
#include "frontends/ibus/support/YakdromComponent.h"
#include "ime/platform/PidFile.h"
#include "ui/QSettingsPreferenceStore.h"

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;
using Kind = IBusEventKind;

constexpr auto kDeadline = std::chrono::seconds(10);

// Returns the events of `kinds`, in order.
std::vector<IBusEvent> only(const IBusTestClient& client, std::initializer_list<Kind> kinds) {
  std::vector<IBusEvent> events;
  for (const IBusEvent& event : client.events()) {
    if (std::find(kinds.begin(), kinds.end(), event.kind) != kinds.end()) events.push_back(event);
  }
  return events;
}

KeyStroke key(const char* name) { return *KeyStroke::forName(name); }

class IBusEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ibusDaemonProgram()) GTEST_SKIP() << "ibus-daemon is not installed";
    ASSERT_TRUE(fs::exists(yakdromComponentFolder() / "yakdrom.xml")) << yakdromComponentFolder();
  }

  // Starts a daemon offering our engine in a Wayland session, where the candidates are an
  // IBus lookup table the client sees, for a user with the settings `configure` writes.
  void startDaemon(const std::function<void(PreferenceStore&)>& configure = {}) {
    IBusDaemonOptions options;
    options.componentFolder = yakdromComponentFolder();
    options.environment = {{"XDG_SESSION_TYPE", "wayland"},
                           {"XDG_DATA_HOME", (home / "data").string()}};
    daemon = std::make_unique<IBusTestDaemon>();
    ASSERT_TRUE(daemon->start(options)) << daemon->error();
    if (configure) {
      QSettingsPreferenceStore store(daemon->configHome() / "Yakdrom" / "Yakdrom.ini");
      configure(store);
    }
  }

  // Connects a focused text field to the engine, once the engine has its lexicon: until
  // then keys get no candidates, as they would for a fast typist. A letter is typed and
  // taken back until the candidate table shows for it.
  [[nodiscard]] std::unique_ptr<IBusTestClient> connect() const {
    auto client = std::make_unique<IBusTestClient>();
    const bool ready =
        client->connect(daemon->address()) && client->focusIn() && client->setEngine("yakdrom");
    if (!ready) ADD_FAILURE() << client->error() << "\n" << daemon->log();
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    bool offered = false;
    while (ready && !offered && std::chrono::steady_clock::now() < deadline) {
      (void)client->press(*KeyStroke::forCharacter('f'));
      const auto tables = only(*client, {Kind::updateLookupTable});
      offered = !tables.empty() && tables.back().visible;
      (void)client->press(key("backspace"));
      if (!offered) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(offered) << "the engine offered no candidates" << describe(client->events());
    client->clearEvents();
    client->setEngineObject("org.freedesktop.IBus.Yakdrom",
                            "/org/freedesktop/IBus/Engine/Yakdrom/1");
    return client;
  }

  [[nodiscard]] pid_t enginePid() const {
    const std::vector<pid_t> engines = daemon->children();
    return engines.size() == 1 ? engines.front() : 0;
  }

  TemporaryFolder home;
  std::unique_ptr<IBusTestDaemon> daemon;
};

TEST_F(IBusEngineTest, TypedSyllablesArePreeditsUnderlinedUntilCommitted) {
  startDaemon();
  const auto client = connect();
  ASSERT_TRUE(client->type("fcmr")) << client->error();
  const auto preedits = only(*client, {Kind::updatePreeditText});
  ASSERT_FALSE(preedits.empty()) << describe(client->events());
  EXPECT_EQ(preedits.back().text, "བཀྲ");
  EXPECT_TRUE(preedits.back().underlined);
  EXPECT_EQ(preedits.back().cursor, 3U);  // characters, at the end
  EXPECT_EQ(client->text(), "");

  ASSERT_TRUE(client->type("jxisj"));
  EXPECT_EQ(client->text(), "བཀྲ་ཤིས་") << describe(client->events());

  // Delete takes back one letter of the syllable; the first Escape hides the candidates,
  // the second commits the syllable as typed, and Space then reaches the application.
  ASSERT_TRUE(client->type("fo"));
  EXPECT_EQ(client->press(key("backspace")), true);
  EXPECT_EQ(client->preedit(), "བ");
  EXPECT_EQ(client->press(key("escape")), true);
  EXPECT_EQ(client->preedit(), "བ");
  EXPECT_EQ(client->press(key("escape")), true);
  EXPECT_EQ(client->press(key("space")), false);
  EXPECT_EQ(client->shownText(), "བཀྲ་ཤིས་བ ") << describe(client->events());
}

TEST_F(IBusEngineTest, ACommitReachesTheApplicationBeforeTheKeyThatCausedIt) {
  startDaemon();
  const auto client = connect();
  ASSERT_TRUE(client->type("fod"));
  ASSERT_EQ(client->press(key("escape")), true);  // the candidates go, the syllable stays
  ASSERT_EQ(client->preedit(), "བོད") << describe(client->events());
  client->clearEvents();

  EXPECT_EQ(client->press(key("return")), false);
  EXPECT_EQ(kindsOf(only(*client, {Kind::commitText, Kind::keyPassedThrough})),
            (std::vector{Kind::commitText, Kind::keyPassedThrough}))
      << describe(client->events());
  EXPECT_EQ(client->text(), "བོད\n");
  EXPECT_EQ(client->preedit(), "");
}

TEST_F(IBusEngineTest, LeavingTheFieldCommitsTheSyllableOnce) {
  startDaemon();
  const auto client = connect();
  ASSERT_TRUE(client->type("fod"));
  ASSERT_TRUE(client->focusOut());
  ASSERT_TRUE(client->waitFor([&] { return client->text() == "བོད"; }, kDeadline))
      << describe(client->events());
  ASSERT_TRUE(client->focusIn());
  ASSERT_TRUE(client->type("c"));
  EXPECT_EQ(client->shownText(), "བོདཀ") << describe(client->events());
}

// On Wayland the candidates go to the desktop's own panel as an IBus lookup table.
TEST_F(IBusEngineTest, TheLookupTableShowsThePageTheSelectionAndTheExplanation) {
  startDaemon([](PreferenceStore& store) {
    store.setBoolean("Yakdrom.showExplanation", true);
    store.setInteger("Yakdrom.explanationLanguage", 3);
    store.setInteger("Yakdrom.candidateCount", 5);
  });
  const auto client = connect();
  ASSERT_TRUE(client->type("fod"));
  auto tables = only(*client, {Kind::updateLookupTable});
  ASSERT_FALSE(tables.empty()) << describe(client->events());
  const IBusEvent first = tables.back();
  EXPECT_TRUE(first.visible);
  EXPECT_EQ(first.candidates.size(), 5U);
  EXPECT_EQ(first.candidates.front(), "བོད་");
  EXPECT_EQ(first.labels, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(first.cursor, 0U);
  EXPECT_EQ(first.orientation, 1);  // vertical: the single-column style

  client->clearEvents();
  ASSERT_TRUE(client->cursorDown());
  ASSERT_TRUE(client->pageDown());
  ASSERT_TRUE(client->waitFor([&] { return only(*client, {Kind::updateLookupTable}).size() >= 2; },
                              kDeadline));
  const IBusEvent paged = only(*client, {Kind::updateLookupTable}).back();
  EXPECT_EQ(paged.cursor, 1U);
  EXPECT_NE(paged.candidates, first.candidates);
  const auto auxiliary = only(*client, {Kind::updateAuxiliaryText});
  ASSERT_FALSE(auxiliary.empty());
  EXPECT_EQ(auxiliary.back().text.rfind("2/", 0), 0U) << auxiliary.back().text;

  // A number confirms the candidate with that label on the page shown.
  const std::string second = paged.candidates[1];
  EXPECT_EQ(client->press(*KeyStroke::forCharacter('2')), true);
  EXPECT_EQ(client->text(), second) << describe(client->events());
  EXPECT_EQ(client->preedit(), "");

  // The selected candidate's explanation shows under the table; a click confirms.
  client->clearEvents();
  ASSERT_TRUE(client->type("lo"));
  const auto explained = only(*client, {Kind::updateAuxiliaryText});
  ASSERT_FALSE(explained.empty()) << describe(client->events());
  EXPECT_NE(explained.back().text.find("year"), std::string::npos) << explained.back().text;
  ASSERT_TRUE(client->candidateClicked(0));
  ASSERT_TRUE(client->waitFor([&] { return client->text() == second + "ལོ་"; }, kDeadline))
      << describe(client->events());
  EXPECT_FALSE(only(*client, {Kind::hideLookupTable}).empty());
}

TEST_F(IBusEngineTest, TheSettingsItemOpensTheWindowInTheEngineProcess) {
  startDaemon();
  const auto client = connect();
  // Every focus offers the menu again, in the language the user has now.
  ASSERT_TRUE(client->focusOut() && client->focusIn());
  const auto menu = [&] {
    const auto offered = only(*client, {Kind::registerProperties});
    return offered.empty() ? std::vector<std::pair<std::string, std::string>>{}
                           : offered.back().properties;
  };
  ASSERT_TRUE(client->waitFor([&] { return !menu().empty(); }, kDeadline))
      << describe(client->events());
  const auto properties = menu();
  const std::pair<std::string, std::string> settings{"settings", "Settings…"};
  EXPECT_NE(std::find(properties.begin(), properties.end(), settings), properties.end());

  const pid_t engine = enginePid();
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(client->propertyActivate("settings"));
  ASSERT_TRUE(client->type("f"));
  EXPECT_EQ(client->preedit(), "བ");
  EXPECT_EQ(daemon->children(), std::vector<pid_t>{engine});
}

// Both ways an engine is ended from outside: the daemon going away, and an uninstall
// signalling the process its PID file names. Either way it writes what it learnt.
TEST_F(IBusEngineTest, TheEngineEndsWithTheDaemonOrByItsPidFileAndKeepsWhatItLearnt) {
  for (const bool byPidFile : {false, true}) {
    SCOPED_TRACE(byPidFile ? "PID file" : "daemon");
    fs::remove_all(home / "data");
    startDaemon();
    const auto client = connect();
    ASSERT_TRUE(client->type("fod"));
    ASSERT_EQ(client->press(*KeyStroke::forCharacter('1')), true);
    const std::string learnt = client->text();
    const pid_t engine = enginePid();
    ASSERT_NE(engine, 0);

    const fs::path pidFile = PidFile::enginePath(daemon->runtimeFolder());
    EXPECT_EQ(PidFile::read(pidFile), engine);
    if (byPidFile) {
      EXPECT_TRUE(PidFile::signalRunning(pidFile, SIGTERM));
    } else {
      daemon->stop();
    }
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (processAlive(engine) && std::chrono::steady_clock::now() < deadline) {
      client->drain();
    }
    EXPECT_FALSE(processAlive(engine));
    EXPECT_FALSE(fs::exists(pidFile));
    const std::string dictionary = readBytes(home / "data" / "Yakdrom" / "user-dictionary.txt");
    EXPECT_NE(dictionary.find(learnt), std::string::npos) << dictionary;
  }
}

// A second engine process finds the bus name taken: the fatal start-up error.
TEST_F(IBusEngineTest, ASecondEngineProcessStopsWithTheFatalError) {
  startDaemon();
  const auto client = connect();
  const std::string program = YAKDROM_IBUS_EXECUTABLE;
  const std::string address = "IBUS_ADDRESS=" + daemon->address();
  const std::string platform = "QT_QPA_PLATFORM=offscreen";
  const std::string data = "XDG_DATA_HOME=" + (home / "data").string();
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--ibus"), nullptr};
  char* envp[] = {const_cast<char*>(address.c_str()), const_cast<char*>(platform.c_str()),
                  const_cast<char*>(data.c_str()), nullptr};
  pid_t second = 0;
  ASSERT_EQ(::posix_spawn(&second, program.c_str(), nullptr, nullptr, argv, envp), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(second, &status, 0), second);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(client->press(*KeyStroke::forCharacter('f')), true);
}

}  // namespace
}  // namespace yakdrom::testing
