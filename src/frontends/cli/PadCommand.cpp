// `yakdrom pad [--output FILE] [--lexicon FILE]`: a typing pad in the terminal, the input
// method for anyone without an input-method framework. It types with the user's own
// settings and statistics (the shared settings file) and user dictionary, as the input
// method does. Ctrl-D ends it and prints the text (or appends it to FILE); Ctrl-C ends it
// without; Ctrl-Z suspends it. A hang-up or a shutdown keeps the text: in FILE, else in a
// recovery file that the next pad points to.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "engine/learning/AtomicFile.h"
#include "frontends/cli/CommandLexicon.h"
#include "frontends/cli/Commands.h"
#include "frontends/cli/PadRecovery.h"
#include "frontends/cli/PadRenderer.h"
#include "frontends/cli/Terminal.h"
#include "frontends/cli/TerminalInput.h"
#include "frontends/cli/TypingSession.h"
#include "frontends/cli/UserPreferences.h"
#include "ime/help/PadKeys.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom::cli {
namespace {

using namespace std::chrono_literals;

constexpr int kFailure = 1;
constexpr int kUsage = 2;
// Shells report a program ended by Ctrl-C as 128 + SIGINT.
constexpr int kCancelledStatus = 130;
constexpr int kSignalStatusBase = 128;
// Longer than the gap between the bytes of one escape sequence, short enough that Escape
// feels immediate.
constexpr auto kEscapeSequenceWait = 50ms;
// How often an idle pad looks at the lexicon load and the window size.
constexpr auto kIdleWait = 250ms;

// A closed window or a shutdown ends the pad without the user's say, so the text is kept;
// a SIGINT is taken as Ctrl-C.
constexpr std::array<int, 2> kKeepingSignals = {SIGHUP, SIGTERM};

enum class LexiconState { loading, loaded, missing };
enum class Ending { finished, cancelled, stopped };

struct PadOptions {
  std::optional<std::filesystem::path> output;
  std::optional<std::filesystem::path> lexicon;
  std::optional<std::string> error;
};

PadOptions parsePadOptions(const Args& args) {
  PadOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--output" && a != "--lexicon") {
      options.error = "unknown argument \"" + a + "\"";
      return options;
    }
    if (i + 1 == args.size()) {
      options.error = a + " needs a value";
      return options;
    }
    (a == "--output" ? options.output : options.lexicon) = args[++i];
  }
  return options;
}

struct LexiconNote {
  LexiconState state;
  std::string_view chinese;
  std::string_view english;
};

constexpr std::array<LexiconNote, 3> kLexiconNotes = {{
    {LexiconState::loading, " · 正在加载词库…", " · loading the lexicon…"},
    {LexiconState::loaded, "", ""},
    {LexiconState::missing, " · 未找到词库，没有候选词", " · no lexicon, no candidates"},
}};

std::string header(InterfaceLanguage language, LexiconState lexicon) {
  std::string text(localized(language,
                             "Yakdrom 输入板 · Ctrl-D：完成并保留文本 · Ctrl-C：放弃文本并退出 · "
                             "F1：按键",
                             "Yakdrom pad · Ctrl-D: finish and keep the text · Ctrl-C: quit "
                             "and discard it · F1: keys"));
  for (const auto& note : kLexiconNotes) {
    if (note.state == lexicon) text += localized(language, note.chinese, note.english);
  }
  return text;
}

std::string tooSmall(InterfaceLanguage language) {
  return std::string(localized(language, "Yakdrom 输入板：请把终端放大到至少 ",
                               "Yakdrom pad: make the terminal at least ")) +
         std::to_string(kMinPadWidth) + "×" + std::to_string(kMinPadHeight);
}

// One line about the text kept when earlier pads were closed, or "".
std::string recoveryNotice(InterfaceLanguage language,
                           const std::vector<std::filesystem::path>& files) {
  if (files.empty()) return {};
  std::string text(
      localized(language, "上次关闭时保留的文本：", "Text kept when the pad was closed: "));
  text += files.front().string();
  if (files.size() > 1) {
    text += localized(language, "（另有 ", " (and ");
    text += std::to_string(files.size() - 1);
    text += localized(language, " 个）", " more)");
  }
  return text;
}

// One line saying that the user dictionary could not be read, so nothing learnt is kept.
std::string dictionaryNotice(InterfaceLanguage language, const UserDictionary& dictionary) {
  if (!dictionary.loadError()) return {};
  return std::string(localized(language, "用户词库无法读取，新学的词不会保存：",
                               "The user dictionary cannot be read; nothing learnt is kept: ")) +
         dictionary.loadError()->message();
}

// Joins the notices that are there into one line.
std::string joined(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return first + second;
  return first + "  " + second;
}

// One line saying that what is typed is not counted, or why settings are not kept.
std::string savingNotice(InterfaceLanguage language, const std::string& error) {
  return std::string(localized(language, "统计和设置无法保存：", "Statistics cannot be saved: ")) +
         error;
}

// The terminal pad's own keys, after the candidate keys every pad shares.
constexpr std::array<PadKey, 4> kTerminalPadKeys = {{
    {"Ctrl-D", "完成并保留文本", "finish and keep the text"},
    {"Ctrl-C", "放弃文本并退出", "quit and discard the text"},
    {"Ctrl-Z", "挂起输入板", "suspend the pad"},
    {"F1", "显示或关闭本帮助", "show or close this help"},
}};

std::vector<std::string> helpLines(InterfaceLanguage language) {
  std::vector<std::string> lines{std::string(localized(language, "输入板按键（按任意键关闭）：",
                                                       "Keys of the pad (any key closes this):"))};
  const auto add = [&lines, language](const PadKey& key) {
    lines.push_back("  " + std::string(key.keys) + "  " +
                    std::string(localized(language, key.chinese, key.english)));
  };
  for (const PadKey& key : kCandidateKeys) add(key);
  for (const PadKey& key : kTerminalPadKeys) add(key);
  lines.emplace_back();
  lines.emplace_back(localized(language, kLayoutHintChinese, kLayoutHintEnglish));
  return lines;
}

struct PadTexts {
  InterfaceLanguage language;
  std::string notice;  // until the first key
  bool help = false;   // until the next key
};

void draw(Terminal& terminal, const TypingSession& session, const PadTexts& texts,
          LexiconState lexicon) {
  const auto [width, height] = terminal.size();
  PadView view{header(texts.language, lexicon),
               session.field().document(),
               session.field().marked(),
               session.candidates(),
               width,
               height};
  view.notice = texts.notice;
  if (texts.help) view.help = helpLines(texts.language);
  view.tooSmall = tooSmall(texts.language);
  terminal.draw(renderPad(view));
}

// Types until Ctrl-D, Ctrl-C or a stop signal; says once when the settings file stops
// taking what is saved in it.
Ending typeUntilDone(Terminal& terminal, TypingSession& session, const PreferenceStore& preferences,
                     const std::atomic<LexiconState>& lexicon, PadTexts texts) {
  std::string pending;
  bool savingFailureShown = false;
  for (;;) {
    draw(terminal, session, texts, lexicon.load());
    const std::string bytes = terminal.read(pending.empty() ? kIdleWait : kEscapeSequenceWait);
    if (terminal.stopSignal() != 0) return Ending::stopped;
    pending += bytes;
    const DecodedInput decoded = decodeTerminalInput(pending, bytes.empty());
    pending.erase(0, decoded.consumed);
    if (!decoded.inputs.empty()) texts.notice.clear();
    for (const auto& input : decoded.inputs) {
      // The help closes at the next key, which then does what it always does.
      const bool helpShown = std::exchange(texts.help, false);
      switch (input.kind) {
        case TerminalInput::Kind::help:
          texts.help = !helpShown;
          break;
        case TerminalInput::Kind::key:
          (void)session.press(input.key);
          break;
        case TerminalInput::Kind::suspend:
          terminal.suspend();
          break;
        case TerminalInput::Kind::finish:
          return Ending::finished;
        case TerminalInput::Kind::cancel:
          return Ending::cancelled;
      }
    }
    if (const auto error = preferences.lastError(); error && !savingFailureShown) {
      texts.notice = savingNotice(texts.language, *error);
      savingFailureShown = true;
    }
  }
}

std::string asLines(const std::string& document) {
  return document.back() == '\n' ? document : document + "\n";
}

// Returns why `text` could not be appended to `path`, or nothing once it is there.
std::optional<std::string> append(const std::filesystem::path& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  bool written = fd >= 0 && detail::AtomicFile::writeAll(fd, text);
  const int error = errno;
  if (fd >= 0) written = ::close(fd) == 0 && written;
  if (written) return std::nullopt;
  return std::error_code(error, std::generic_category()).message();
}

// Prints the text, or appends it to `output`; a file that cannot be written gets the text
// printed instead, so that nothing typed is lost.
int deliver(const std::string& document, const std::optional<std::filesystem::path>& output,
            std::ostream& out, std::ostream& err) {
  if (document.empty()) return 0;
  const std::string text = asLines(document);
  if (output) {
    const auto failure = append(*output, text);
    if (!failure) return 0;
    err << "yakdrom pad: cannot append to " << output->string() << ": " << *failure
        << "; the text follows on standard output\n";
  }
  out << text;
  return output ? kFailure : 0;
}

// Keeps the text of a pad that a signal ended: appended to `output` as Ctrl-D would, else
// in a recovery file, since standard output may have gone with the terminal.
void rescue(const std::string& document, const std::optional<std::filesystem::path>& output,
            std::ostream& err) {
  if (document.empty()) return;
  const std::string text = asLines(document);
  if (output) {
    const auto failure = append(*output, text);
    if (!failure) return;
    err << "yakdrom pad: cannot append to " << output->string() << ": " << *failure << "\n";
  }
  const PadRecovery recovery(PadRecovery::defaultFolder());
  if (const auto saved = recovery.save(text)) {
    err << "yakdrom pad: the text typed so far is kept in " << saved->string() << "\n";
  } else {
    err << "yakdrom pad: cannot keep the text typed so far in "
        << PadRecovery::defaultFolder().string() << "\n";
  }
}

}  // namespace

int runPad(const Args& args, std::ostream& out, std::ostream& err) {
  const PadOptions options = parsePadOptions(args);
  if (options.error) {
    err << "yakdrom pad: " << *options.error << "\n"
        << "usage: yakdrom pad [--output FILE] [--lexicon FILE]\n";
    return kUsage;
  }
  // Every store the pad types with is made here: the user's own settings file, statistics
  // counted into it, and the user's dictionary.
  const std::shared_ptr<PreferenceStore> preferences = openUserPreferences();
  InputStatistics statistics(preferences);
  UserDictionary dictionary(UserDictionary::defaultURL());
  CommandLexicon lexicon(options.lexicon);
  lexicon.store().preloadIfNeeded();
  std::atomic<LexiconState> lexiconState{LexiconState::loading};
  std::jthread watcher([&lexicon, &lexiconState] {
    lexiconState = lexicon.store().waitUntilLoaded() ? LexiconState::loaded : LexiconState::missing;
  });
  auto opened = Terminal::open();
  if (!opened.terminal) {
    err << "yakdrom pad: " << opened.error << "\n";
    return kFailure;
  }
  Terminal& terminal = *opened.terminal;
  TypingSession session({*preferences, dictionary, statistics, lexicon.store()});
  session.start();
  const InterfaceLanguage language = interfaceLanguage(LocalePreferredLanguages());
  const std::string notice =
      joined(dictionaryNotice(language, dictionary),
             recoveryNotice(language, PadRecovery(PadRecovery::defaultFolder()).takeUnannounced()));
  const Ending ending =
      typeUntilDone(terminal, session, *preferences, lexiconState, {language, notice});
  const int signal = terminal.stopSignal();
  const bool keeps =
      ending == Ending::finished ||
      std::find(kKeepingSignals.begin(), kKeepingSignals.end(), signal) != kKeepingSignals.end();
  // Ending commits the syllable being composed, as leaving a text field does.
  if (keeps) session.finish();
  terminal.restore();
  watcher.join();
  int status = signal != 0 ? kSignalStatusBase + signal : kCancelledStatus;
  if (ending == Ending::finished) {
    status = deliver(session.field().document(), options.output, out, err);
  } else if (keeps) {
    rescue(session.field().document(), options.output, err);
  }
  if (const auto written = dictionary.flush(); !written) {
    err << "yakdrom pad: " << written.error().message() << "\n";
    if (status == 0) status = kFailure;
  }
  if (const auto kept = dictionary.keptOriginal()) {
    err << "yakdrom pad: the user dictionary was not valid UTF-8; its original bytes are kept in "
        << kept->string() << "\n";
  }
  return status;
}

}  // namespace yakdrom::cli
