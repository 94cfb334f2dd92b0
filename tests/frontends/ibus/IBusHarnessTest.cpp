// The IBus test harness against an engine we did not write (ibus-m17n's Tibetan maps), so
// that a failing engine test points at the engine, not at the daemon or the client.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frontends/ibus/support/IBusTestClient.h"
#include "frontends/ibus/support/IBusTestDaemon.h"

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kM17nComponent = "/usr/share/ibus/component/m17n.xml";
const fs::path kTcrcMap = "/usr/share/m17n/bo-tcrc.mim";
constexpr auto kDeadline = std::chrono::seconds(10);

class IBusHarnessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ibusDaemonProgram()) GTEST_SKIP() << "ibus-daemon is not installed";
    if (!fs::exists(kM17nComponent) || !fs::exists(kTcrcMap)) {
      GTEST_SKIP() << "ibus-m17n or m17n-db is not installed";
    }
    std::string pattern = (fs::temp_directory_path() / "yakdrom-components-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    components_ = pattern;
    fs::copy_file(kM17nComponent, components_ / kM17nComponent.filename());
  }

  void TearDown() override {
    std::error_code ignored;
    if (!components_.empty()) fs::remove_all(components_, ignored);
  }

  // Starts a daemon that offers the m17n engines.
  [[nodiscard]] std::unique_ptr<IBusTestDaemon> startDaemon() const {
    auto daemon = std::make_unique<IBusTestDaemon>();
    IBusDaemonOptions options;
    options.componentFolder = components_;
    if (!daemon->start(options)) ADD_FAILURE() << daemon->error();
    return daemon;
  }

  // Connects a focused text field that shows the text before the cursor to `engine`.
  [[nodiscard]] static std::unique_ptr<IBusTestClient> connect(const IBusTestDaemon& daemon,
                                                               const std::string& engine) {
    auto client = std::make_unique<IBusTestClient>();
    IBusClientOptions options;
    options.surroundingText = true;
    const bool ready = client->connect(daemon.address(), options) && client->focusIn() &&
                       client->setEngine(engine);
    if (!ready) ADD_FAILURE() << client->error();
    return client;
  }

  fs::path components_;
};

TEST_F(IBusHarnessTest, TcrcKeysLeaveTheirTibetanInTheTextField) {
  struct Row {
    const char* keys;
    const char* text;
  };
  const Row rows[] = {
      {"k", "ཀ"},
      {"k.", "ཀྲ"},
      {"Ke", "ཁེ"},
      // The subjoining key is taken back through the surrounding text: both ends of the
      // client's model of the field are exercised.
      {"gak", "གྐ"},
      {"f/", "ང་།"},
  };
  const auto daemon = startDaemon();
  ASSERT_TRUE(daemon->running());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.keys);
    const auto client = connect(*daemon, "m17n:bo:tcrc");
    ASSERT_TRUE(client->type(row.keys)) << client->error();
    EXPECT_EQ(client->shownText(), row.text) << describe(client->events());
  }
}

TEST_F(IBusHarnessTest, CommitIsLoggedBeforeTheKeyItLetsThrough) {
  const auto daemon = startDaemon();
  const auto client = connect(*daemon, "m17n:bo:ewts");
  ASSERT_TRUE(client->type("kh")) << client->error();
  EXPECT_EQ(client->preedit(), "ཁ");
  EXPECT_EQ(client->text(), "");
  client->clearEvents();

  EXPECT_EQ(client->press(*IBusKeyStroke::forName("return")), false) << client->error();
  std::vector<IBusEventKind> order;
  for (IBusEventKind kind : kindsOf(client->events())) {
    if (kind == IBusEventKind::commitText || kind == IBusEventKind::keyPassedThrough) {
      order.push_back(kind);
    }
  }
  EXPECT_EQ(order, (std::vector{IBusEventKind::commitText, IBusEventKind::keyPassedThrough}))
      << describe(client->events());
  EXPECT_EQ(client->text(), "ཁ\n");
  EXPECT_EQ(client->preedit(), "");
}

TEST_F(IBusHarnessTest, StopEndsTheDaemonAndTheEnginesItStarted) {
  const auto daemon = startDaemon();
  const auto client = connect(*daemon, "m17n:bo:tcrc");
  const pid_t pid = daemon->pid();
  const std::vector<pid_t> engines = daemon->children();
  ASSERT_FALSE(engines.empty());

  daemon->stop();
  EXPECT_FALSE(daemon->running());
  EXPECT_FALSE(processAlive(pid));
  for (pid_t engine : engines) EXPECT_FALSE(processAlive(engine)) << "engine " << engine;
  EXPECT_FALSE(client->press(*IBusKeyStroke::forCharacter('k')).has_value());
}

TEST_F(IBusHarnessTest, TwoDaemonsKeepTheirKeysApart) {
  const auto first = startDaemon();
  const auto second = startDaemon();
  ASSERT_NE(first->address(), second->address());
  const auto one = connect(*first, "m17n:bo:tcrc");
  const auto other = connect(*second, "m17n:bo:tcrc");

  ASSERT_TRUE(one->type("k"));
  ASSERT_TRUE(other->type("g"));
  ASSERT_TRUE(one->type("e"));
  first->stop();
  ASSERT_TRUE(other->type("i")) << other->error();

  EXPECT_EQ(one->text(), "ཀེ");
  EXPECT_EQ(other->text(), "གི");
}

}  // namespace
}  // namespace yakdrom::testing
