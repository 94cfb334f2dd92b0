// Drives `yakdrom pad` as a person would: in a detached tmux session with a home of its own,
// keys sent in, the screen read back, until Ctrl-D prints the text; suspended to the shell
// and back; hung up on, and started again.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "frontends/cli/SessionTestSupport.h"

namespace yakdrom::cli::testing {
namespace {

using namespace std::chrono_literals;

// Generous: the machine may be busy with a parallel build and other tests.
constexpr auto kPatience = 60s;
constexpr auto kPollInterval = 50ms;
constexpr std::string_view kLoadedHeader =
    "Yakdrom pad · Ctrl-D: finish and keep the text · Ctrl-C: quit and discard it · F1: keys";

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs `command` in a shell and returns its standard output.
std::string shell(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    line.erase(line.find_last_not_of(' ') + 1);
    lines.push_back(line);
  }
  return lines;
}

bool hasLine(const std::vector<std::string>& screen, const std::string& line) {
  return std::find(screen.begin(), screen.end(), line) != screen.end();
}

class PadInTmux : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v tmux >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "tmux is not installed";
  }

  void TearDown() override { tmux("kill-server"); }

  // The pad's command line, in a home of its own; the pad's process id goes to pad.pid.
  std::string padLine(const std::string& options = "") const {
    const std::string home = (dir_ / "home").string();
    const std::string pad = "env -u LANGUAGE LANG=C.UTF-8 LC_ALL=C.UTF-8 HOME=" + quoted(home) +
                            " XDG_DATA_HOME=" + quoted(home + "/data") +
                            " XDG_CONFIG_HOME=" + quoted(home + "/config") +
                            " XDG_STATE_HOME=" + quoted(home + "/state") + " " +
                            quoted(YAKDROM_EXECUTABLE) + " pad --lexicon " +
                            quoted(lexicon_.string()) + options;
    return "sh -c " + quoted("echo $$ > " + quoted(pidFile().string()) + "; exec " + pad);
  }

  // Runs the pad alone in a new window, which then shows its exit status. Later pads get
  // windows of their own in the same session: the server would end with its last one.
  void startPad(int width = 100, const std::filesystem::path& output = {}) {
    const std::string options = output.empty() ? "" : " --output " + quoted(output.string());
    const std::string command = quoted(padLine(options) + "; echo \"[pad exited $?]\"; sleep 300");
    tmux(started_ ? "new-window -t pad " + command
                  : "new-session -d -s pad -x " + std::to_string(width) + " -y 30 " + command);
    started_ = true;
  }

  // Runs the pad from an interactive shell with job control, as a person does.
  void startPadFromShell() {
    const std::string shell = "env HOME=" + quoted((dir_ / "home").string()) +
                              " HISTFILE= PS1='$ ' bash --norc --noprofile -i";
    tmux("new-session -d -s pad -x 100 -y 30 " + quoted(shell));
    waitForLine("$");
    tmux("send-keys -t pad -l " + quoted(padLine()));
    tmux("send-keys -t pad Enter");
  }

  std::filesystem::path pidFile() const { return dir_ / "pad.pid"; }

  // Waits for the pad's header once the lexicon is in; returns the screen.
  // Waits for the pad's header without the note of a lexicon still loading, which the
  // terminal's width may cut anywhere.
  std::vector<std::string> waitForPad() {
    return waitFor([](const auto& s) { return !s.empty() && s[0] == kLoadedHeader; });
  }

  // Sends `signal` to the pad once it has written its process id.
  void signalPad(int signal) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (readAll(pidFile()).empty() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(kPollInterval);
    }
    ASSERT_EQ(::kill(std::stoi(readAll(pidFile())), signal), 0);
  }

  std::string tmux(const std::string& arguments) {
    return shell("tmux -S " + quoted((dir_ / "tmux.sock").string()) + " -f /dev/null " + arguments +
                 " 2>&1");
  }

  // The screen with lines the terminal wrapped joined again.
  std::vector<std::string> screen() { return linesOf(tmux("capture-pane -p -J -t pad")); }

  // Reads the screen until `ready` holds for it, within a bounded time.
  std::vector<std::string> waitFor(
      const std::function<bool(const std::vector<std::string>&)>& ready) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    std::vector<std::string> shown = screen();
    while (!ready(shown) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(kPollInterval);
      shown = screen();
    }
    return shown;
  }

  std::vector<std::string> waitForLine(const std::string& line) {
    return waitFor([&line](const auto& shown) { return hasLine(shown, line); });
  }

  bool started_ = false;
  TempDir dir_;
  std::filesystem::path lexicon_ = writeTinyLexicon(dir_);
};

TEST_F(PadInTmux, TypesWithCandidatesAndPrintsTheTextOnCtrlD) {
  startPad();
  auto shown = waitForPad();
  ASSERT_FALSE(shown.empty());
  ASSERT_EQ(shown[0], kLoadedHeader);

  tmux("send-keys -t pad -l fod");
  shown = waitForLine("> 1. བོད་");
  EXPECT_TRUE(hasLine(shown, "བོད")) << "the marked syllable, then the caret";
  for (const char* row : {"  2. བོད་པ་", "  3. བོད་མི་", "  7. བོད་སྐད་"}) {
    EXPECT_TRUE(hasLine(shown, row)) << row;
  }

  tmux("send-keys -t pad Down");
  shown = waitForLine("> 2. བོད་པ་");
  EXPECT_TRUE(hasLine(shown, "  1. བོད་"));

  // 3 confirms the third row; the window then offers the word again, as the start of
  // what may follow. Escape closes it; the next keys wait for that, since an ESC read
  // together with a key is Alt and that key.
  tmux("send-keys -t pad -l 3");
  shown = waitForLine("> 1. བོད་མི་");
  EXPECT_TRUE(hasLine(shown, "བོད་མི་"));
  tmux("send-keys -t pad Escape");
  waitFor([](const auto& s) { return !hasLine(s, "> 1. བོད་མི་"); });
  tmux("send-keys -t pad -l ' dusj'");
  // After the word's tsheg the window offers the particles that may follow it.
  shown = waitForLine("> 1. དུས་ཀྱི་");
  EXPECT_TRUE(hasLine(shown, "བོད་མི་ དུས་"));

  tmux("send-keys -t pad C-d");
  shown = waitForLine("[pad exited 0]");
  ASSERT_TRUE(hasLine(shown, "[pad exited 0]"));
  EXPECT_EQ(shown.front(), "བོད་མི་ དུས་") << "the text, printed on the shell's own screen";

  // Learnt and counted where the input method keeps them.
  EXPECT_EQ(readAll(dir_ / "home/data/Yakdrom/user-dictionary.txt"), "དུས་ 1\nབོད་མི་ 1\n");
  EXPECT_NE(readAll(dir_ / "home/config/Yakdrom/Yakdrom.ini").find("Yakdrom.stats.totalWords=3"),
            std::string::npos);
}

TEST_F(PadInTmux, F1ShowsThePadKeysUntilTheNextKey) {
  startPad();
  waitForPad();
  tmux("send-keys -t pad F1");
  const auto help = waitForLine("Keys of the pad (any key closes this):");
  EXPECT_TRUE(hasLine(help, "  Ctrl-D  finish and keep the text"));
  EXPECT_TRUE(hasLine(help, "  Escape  close the candidate window"));
  tmux("send-keys -t pad -l fod");
  const auto typed = waitForLine("> 1. བོད་");
  EXPECT_FALSE(hasLine(typed, "Keys of the pad (any key closes this):"));
}

TEST_F(PadInTmux, SuspendsToTheShellAndComesBackWithTheText) {
  startPadFromShell();
  waitForPad();
  tmux("send-keys -t pad -l fod");
  waitForLine("> 1. བོད་");
  struct Way {
    const char* what;
    std::function<void()> suspend;
  };
  const std::vector<Way> ways = {
      {"Ctrl-Z", [this] { tmux("send-keys -t pad C-z"); }},
      {"SIGTSTP", [this] { signalPad(SIGTSTP); }},
  };
  for (std::size_t i = 0; i < ways.size(); ++i) {
    SCOPED_TRACE(ways[i].what);
    ways[i].suspend();
    // The shell's screen is back, the pad's header gone, and the shell reports the stop.
    const auto stopped = [i](const auto& s) {
      return std::count_if(s.begin(), s.end(), [](const std::string& line) {
               return line.find("Stopped") != std::string::npos;
             }) == static_cast<std::ptrdiff_t>(i + 1);
    };
    auto shown = waitFor(stopped);
    ASSERT_TRUE(stopped(shown));
    EXPECT_FALSE(shown[0].starts_with("Yakdrom pad"));
    tmux("send-keys -t pad -l fg");
    tmux("send-keys -t pad Enter");
    shown = waitForLine("> 1. བོད་");
    EXPECT_TRUE(shown[0].starts_with("Yakdrom pad")) << "the whole pad drawn again";
    EXPECT_TRUE(hasLine(shown, "བོད"));
  }
  tmux("send-keys -t pad -l ' '");
  waitForLine("བོད་");
  tmux("send-keys -t pad C-d");
  const auto shown = waitFor([](const auto& s) { return !s.empty() && s.back() == "$"; });
  EXPECT_TRUE(hasLine(shown, "བོད་")) << "the text, printed on the shell's screen";
}

TEST_F(PadInTmux, KeepsTheTextOnAHangUpAndPointsTheNextPadToIt) {
  // Wide enough for the notice with the whole path.
  startPad(250);
  waitForPad();
  tmux("send-keys -t pad -l fod");
  waitForLine("> 1. བོད་");
  signalPad(SIGHUP);
  auto shown = waitForLine("[pad exited 129]");
  ASSERT_TRUE(hasLine(shown, "[pad exited 129]"));

  std::vector<std::filesystem::path> kept;
  std::error_code missing;
  for (const auto& entry :
       std::filesystem::directory_iterator(dir_ / "home/state/Yakdrom", missing)) {
    if (entry.path().extension() == ".txt") kept.push_back(entry.path());
  }
  ASSERT_EQ(kept.size(), 1U);
  EXPECT_TRUE(kept[0].filename().string().starts_with("pad-recovered-"));
  EXPECT_EQ(readAll(kept[0]), "བོད\n") << "the syllable being composed";
  EXPECT_TRUE(hasLine(shown, "yakdrom pad: the text typed so far is kept in " + kept[0].string()));

  // The next pad says where the text is, once.
  const std::vector<std::string> notices = {
      "Text kept when the pad was closed: " + kept[0].string(), ""};
  for (const auto& notice : notices) {
    SCOPED_TRACE(notice);
    startPad();
    shown = waitForPad();
    ASSERT_GE(shown.size(), 2U);
    EXPECT_EQ(shown[1], notice);
    tmux("send-keys -t pad C-c");
    waitForLine("[pad exited 130]");
  }
}

TEST_F(PadInTmux, SaysOnceThatTheStatisticsCannotBeSaved) {
  // A file where the settings folder belongs: nothing can be saved. The reason's wording is
  // the settings store's own, which differs between the builds with and without Qt.
  std::filesystem::create_directories(dir_ / "home/config");
  std::ofstream(dir_ / "home/config/Yakdrom").close();
  const auto showsNotice = [](const std::vector<std::string>& shown) {
    return std::any_of(shown.begin(), shown.end(), [](const std::string& line) {
      return line.starts_with("Statistics cannot be saved: ") &&
             line.find("/home/config/Yakdrom") != std::string::npos;
    });
  };
  startPad(250);
  waitForPad();
  tmux("send-keys -t pad -l 'fod '");
  auto shown = waitFor(showsNotice);
  EXPECT_TRUE(showsNotice(shown));
  tmux("send-keys -t pad -l 'fod '");
  shown = waitForLine("བོད་བོད་");
  ASSERT_TRUE(hasLine(shown, "བོད་བོད་"));
  EXPECT_FALSE(showsNotice(shown)) << "said once";
  tmux("send-keys -t pad C-c");
  waitForLine("[pad exited 130]");
}

TEST_F(PadInTmux, SaysWhenTheUserDictionaryCannotBeReadAndWhyAnAppendFailed) {
  // A folder where the dictionary belongs: it cannot be read, so it is never written.
  std::filesystem::create_directories(dir_ / "home/data/Yakdrom/user-dictionary.txt");
  std::filesystem::create_directories(dir_ / "output.txt");
  startPad(250, dir_ / "output.txt");
  auto shown = waitForPad();
  ASSERT_GE(shown.size(), 2U);
  EXPECT_TRUE(shown[1].starts_with("The user dictionary cannot be read; nothing learnt is kept: "))
      << shown[1];
  tmux("send-keys -t pad -l 'fod '");
  tmux("send-keys -t pad C-d");
  shown = waitForLine("[pad exited 1]");
  EXPECT_TRUE(hasLine(shown, "yakdrom pad: cannot append to " + (dir_ / "output.txt").string() +
                                 ": Is a directory; the text follows on standard output"));
}

}  // namespace
}  // namespace yakdrom::cli::testing
