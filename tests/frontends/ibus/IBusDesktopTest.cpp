// yakdrom-ibus on a desktop of the test's own: an X server (Xvfb), a private ibus-daemon and a
// Qt text field that keys reach as X events through Qt's own IBus module, as when a person
// types into an application. The candidates are our own window on this X server, found by the
// engine's process id. Leaves a screenshot of a syllable being typed in
// <build>/screenshots/ibus-text-field.png.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/learning/TemporaryFolder.h"
#include "frontends/ibus/support/IBusTestDaemon.h"
#include "frontends/ibus/support/YakdromComponent.h"
#include "frontends/support/ChildProcess.h"

namespace yakdrom::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Variables = std::vector<std::pair<std::string, std::string>>;

constexpr auto kDeadline = 10s;
constexpr auto kPollInterval = 10ms;
// How long a typed letter may take to bring up the candidates once the lexicon is in.
constexpr auto kCandidatesShowWithin = 200ms;
// Tall enough for the candidate window to open below the field instead of over it.
constexpr const char* kScreen = "760x640x24";
// How far from the caret the candidate window may open and still be beside it.
constexpr int kCaretSlack = 8;
constexpr const char* kTools[] = {"Xvfb", "xdotool", "import", "ibus", "ibus-daemon"};

struct Rectangle {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

std::ostream& operator<<(std::ostream& out, const Rectangle& r) {
  return out << r.width << "x" << r.height << " at " << r.x << "," << r.y;
}

// Reads "x y width height", as the field reports its caret.
std::optional<Rectangle> rectangleOf(const std::string& text) {
  Rectangle r;
  std::istringstream in(text);
  if (!(in >> r.x >> r.y >> r.width >> r.height)) return std::nullopt;
  return r;
}

// Reads the NAME=value lines of `xdotool getwindowgeometry --shell`.
std::optional<Rectangle> geometryOf(const std::string& shell) {
  std::map<std::string, std::string> values;
  std::istringstream in(shell);
  for (std::string line; std::getline(in, line);) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return rectangleOf(values["X"] + " " + values["Y"] + " " + values["WIDTH"] + " " +
                     values["HEIGHT"]);
}

// The candidate window opens just below the caret, its left edge at the caret.
bool besideCaret(const std::optional<Rectangle>& window, const Rectangle& caret) {
  if (!window) return false;
  const int below = window->y - (caret.y + caret.height);
  return std::abs(window->x - caret.x) <= kCaretSlack && below >= 0 && below <= kCaretSlack;
}

class IBusDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : kTools) {
      if (!programOnPath(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    ASSERT_TRUE(fs::exists(yakdromComponentFolder() / "yakdrom.xml")) << yakdromComponentFolder();
    ASSERT_NO_FATAL_FAILURE(startDisplay());
    ASSERT_NO_FATAL_FAILURE(startDaemon());
    ASSERT_NO_FATAL_FAILURE(startField());
    ASSERT_NO_FATAL_FAILURE(chooseEngine());
    ASSERT_NO_FATAL_FAILURE(waitForLexicon());
  }

  // The variables of every program on our display: a home of the test's own and no session
  // bus, so nothing reaches the desktop the tests run in.
  [[nodiscard]] std::vector<std::string> environment(const Variables& extra = {}) const {
    const char* path = std::getenv("PATH");
    Variables variables = {{"PATH", path != nullptr ? path : "/usr/bin:/bin"},
                           {"HOME", (home_ / "home").string()},
                           {"XDG_CONFIG_HOME", (home_ / "config").string()},
                           {"XDG_CACHE_HOME", (home_ / "cache").string()},
                           {"XDG_DATA_HOME", (home_ / "data").string()},
                           {"XDG_RUNTIME_DIR", (home_ / "runtime").string()},
                           {"LANG", "C.UTF-8"},
                           {"DBUS_SESSION_BUS_ADDRESS", "disabled:"}};
    if (!display_.empty()) variables.emplace_back("DISPLAY", display_);
    variables.insert(variables.end(), extra.begin(), extra.end());
    std::vector<std::string> entries;
    entries.reserve(variables.size());
    for (const auto& [name, value] : variables)
      entries.emplace_back(name).append("=").append(value);
    return entries;
  }

  // Xvfb picks a free display itself and writes its number to the descriptor it is given.
  void startDisplay() {
    for (const char* folder : {"home", "config", "cache", "data", "runtime"}) {
      fs::create_directories(home_ / folder);
    }
    fs::permissions(home_ / "runtime", fs::perms::owner_all);
    ASSERT_TRUE(
        server_.start({"Xvfb", "-displayfd", "1", "-screen", "0", kScreen, "-nolisten", "tcp"},
                      environment(), home_ / "xvfb.log"))
        << server_.error();
    const auto number = server_.nextLine(kDeadline);
    ASSERT_TRUE(number && !number->empty()) << readBytes(home_ / "xvfb.log");
    display_ = ":" + *number;
  }

  void startDaemon() {
    IBusDaemonOptions options;
    options.componentFolder = yakdromComponentFolder();
    options.display = display_;
    options.environment = {{"XDG_SESSION_TYPE", "x11"},
                           {"XDG_DATA_HOME", (home_ / "engine-data").string()}};
    ASSERT_TRUE(daemon_.start(options)) << daemon_.error();
  }

  // Qt's module finds the daemon through an address file (it does not read IBUS_ADDRESS), and
  // takes the daemon for gone unless the file names a running process.
  void startField() {
    const fs::path address = home_.write(
        "ibus-address", "IBUS_ADDRESS=" + daemon_.address() +
                            "\nIBUS_DAEMON_PID=" + std::to_string(daemon_.pid()) + "\n");
    const Variables qt = {{"QT_QPA_PLATFORM", "xcb"},
                          {"QT_IM_MODULE", "ibus"},
                          {"IBUS_ADDRESS_FILE", address.string()}};
    ASSERT_TRUE(field_.start({YAKDROM_TEXT_FIELD_EXECUTABLE}, environment(qt), home_ / "field.log"))
        << field_.error();
    ASSERT_TRUE(waitUntil([&] { return reported("window"); })) << fieldLog();
    // There is no window manager to hand out the focus: the test gives it, as a click would.
    ASSERT_EQ(xdotool({"windowfocus", latest_["window"]}).status, 0);
    ASSERT_TRUE(waitUntil([&] { return reported("focus"); })) << fieldLog();
  }

  // Qt's module cannot choose an engine, but the daemon's global engine can be chosen, as the
  // ibus tool does; the focused context takes it on, and so does one focused later.
  void chooseEngine() {
    const CommandResult chosen = runCommand({"ibus", "engine", "yakdrom"},
                                            environment({{"IBUS_ADDRESS", daemon_.address()}}));
    ASSERT_EQ(chosen.status, 0) << daemon_.log();
    ASSERT_TRUE(waitUntil([&] { return daemon_.children().size() == 1; })) << daemon_.log();
    engine_ = daemon_.children().front();
  }

  // Until its lexicon is in, the engine offers no candidates: a letter is typed and taken
  // back until they show for it.
  void waitForLexicon() {
    const auto deadline = Clock::now() + kDeadline;
    bool offered = false;
    while (!offered && Clock::now() < deadline) {
      ASSERT_TRUE(press({"f"}));
      ASSERT_TRUE(waitUntil([&] { return preedit() == "བ"; })) << fieldLog();
      offered = waitUntil([&] { return candidateWindow().has_value(); }, kCandidatesShowWithin);
      ASSERT_TRUE(press({"BackSpace"}));
      ASSERT_TRUE(waitUntil([&] { return preedit().empty() && !candidateWindow(); })) << fieldLog();
    }
    ASSERT_TRUE(offered) << "the engine offered no candidates\n" << daemon_.log();
    ASSERT_EQ(text(), "");
  }

  [[nodiscard]] CommandResult xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    return runCommand(arguments, environment());
  }

  // Presses and releases each key in turn, by its X key name on the US layout.
  [[nodiscard]] bool press(std::initializer_list<std::string> keys) const {
    std::vector<std::string> arguments{"key"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    return xdotool(arguments).status == 0;
  }

  // Returns where the engine's window is while it is mapped.
  [[nodiscard]] std::optional<Rectangle> candidateWindow() const {
    const CommandResult found =
        xdotool({"search", "--onlyvisible", "--pid", std::to_string(engine_)});
    if (found.status != 0) return std::nullopt;
    const std::string window = found.output.substr(0, found.output.find('\n'));
    const CommandResult geometry = xdotool({"getwindowgeometry", "--shell", window});
    return geometry.status == 0 ? geometryOf(geometry.output) : std::nullopt;
  }

  // Takes in what the field reports until `holds`, which may also ask the X server; returns
  // whether it holds before `deadline`.
  [[nodiscard]] bool waitUntil(const std::function<bool()>& holds,
                               std::chrono::milliseconds deadline = kDeadline) {
    const auto until = Clock::now() + deadline;
    while (!holds()) {
      if (Clock::now() >= until) return false;
      if (const auto line = field_.nextLine(kPollInterval)) take(*line);
    }
    return true;
  }

  // A report is a kind, a space and a value; the last of each kind is what the field shows.
  void take(const std::string& line) {
    reports_ += line + "\n";
    const std::size_t space = line.find(' ');
    latest_[line.substr(0, space)] = space == std::string::npos ? "" : line.substr(space + 1);
  }

  [[nodiscard]] bool reported(const std::string& kind) const { return latest_.contains(kind); }
  [[nodiscard]] std::string text() { return latest_["text"]; }
  [[nodiscard]] std::string preedit() { return latest_["preedit"]; }
  [[nodiscard]] std::optional<Rectangle> caret() { return rectangleOf(latest_["caret"]); }
  [[nodiscard]] std::string fieldLog() const {
    return "the field reported:\n" + reports_ + readBytes(home_ / "field.log");
  }

  // Waits until the candidate window is beside the caret the field reported last.
  [[nodiscard]] ::testing::AssertionResult candidatesBesideCaret() {
    const auto at = caret();
    if (!at) return ::testing::AssertionFailure() << "no caret reported\n" << fieldLog();
    if (waitUntil([&] { return besideCaret(candidateWindow(), *at); })) {
      return ::testing::AssertionSuccess();
    }
    const auto window = candidateWindow();
    return ::testing::AssertionFailure()
           << "caret " << *at << ", candidates "
           << (window ? ::testing::PrintToString(*window) : "not shown");
  }

  // Writes the whole screen to `file`, under another name first, so that whoever looks at the
  // picture never finds half of one.
  void screenshot(const fs::path& file) const {
    fs::create_directories(file.parent_path());
    fs::path partial = file;
    partial += ".partial-" + std::to_string(::getpid());
    ASSERT_EQ(
        runCommand({"import", "-window", "root", "png:" + partial.string()}, environment()).status,
        0);
    ASSERT_GT(fs::file_size(partial), 0U);
    fs::rename(partial, file);
  }

  TemporaryFolder home_;
  ChildProcess server_;
  std::string display_;
  IBusTestDaemon daemon_;
  ChildProcess field_;
  pid_t engine_ = 0;
  std::map<std::string, std::string> latest_;
  std::string reports_;
};

TEST_F(IBusDesktopTest, TypedSyllablesAreUnderlinedAtTheCaretUntilCommitted) {
  ASSERT_TRUE(press({"f", "c", "m", "r", "j", "x", "i", "s", "j"}));
  ASSERT_TRUE(waitUntil([&] { return text() == "བཀྲ་ཤིས་" && preedit().empty(); })) << fieldLog();

  // The window opens for the first letter at the caret the engine knew before it, and must
  // follow the caret the field reports after it has shown the preedit.
  ASSERT_TRUE(press({"f"}));
  ASSERT_TRUE(waitUntil([&] { return preedit() == "བ"; })) << fieldLog();
  EXPECT_TRUE(candidatesBesideCaret());
  ASSERT_TRUE(press({"o"}));
  ASSERT_TRUE(waitUntil([&] { return preedit() == "བོ"; })) << fieldLog();
  EXPECT_EQ(text(), "བཀྲ་ཤིས་");
  ASSERT_TRUE(candidatesBesideCaret());
  const fs::path picture = fs::path(YAKDROM_BUILD_DIR) / "screenshots" / "ibus-text-field.png";
  ASSERT_NO_FATAL_FAILURE(screenshot(picture));

  // The first Escape hides the candidates and keeps the syllable; the second commits it.
  ASSERT_TRUE(press({"Escape"}));
  ASSERT_TRUE(waitUntil([&] { return !candidateWindow(); }));
  EXPECT_EQ(preedit(), "བོ");
  ASSERT_TRUE(press({"Escape"}));
  EXPECT_TRUE(waitUntil([&] { return text() == "བཀྲ་ཤིས་བོ" && preedit().empty(); })) << fieldLog();
}

TEST_F(IBusDesktopTest, ANumberConfirmsTheCandidateWithThatLabel) {
  ASSERT_TRUE(press({"f", "o", "d"}));
  ASSERT_TRUE(waitUntil([&] { return preedit() == "བོད" && candidateWindow(); })) << fieldLog();
  ASSERT_TRUE(press({"1"}));
  // The lexicon's first word for the syllable, closed by its tsheg; without the candidates the
  // key would have typed the digit ༡ after the syllable.
  EXPECT_TRUE(waitUntil([&] { return text() == "བོད་" && preedit().empty(); })) << fieldLog();
}

}  // namespace
}  // namespace yakdrom::testing
