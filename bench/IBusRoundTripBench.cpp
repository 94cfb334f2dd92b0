// Key round trips through a private ibus-daemon, as a desktop application sends them: for
// each engine, the time from a key press to its answer (the engine's commit and preedit
// arrive before it), the engine's cold start (SetEngine to the first key answered) and the
// engine's resident memory after typing. The same paragraph is typed through yakdrom with
// candidates, yakdrom without, and ibus-m17n's Tibetan TCRC map for comparison.
// Usage: yakdrom_bench_ibus --paragraph FILE [--component-dir DIR] [--words N]
//                           [--yakdrom-settings FILE]
//   DIR holds yakdrom.xml (without it only m17n:bo:tcrc is typed); N repeats the paragraph
//   until N words (syllables) were typed; the settings FILE is the engine's Yakdrom.ini, to
//   which the candidates switch is added.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/composition/KeyCode.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/ibus/support/IBusTestClient.h"
#include "frontends/ibus/support/IBusTestDaemon.h"
#include "ime/settings/YakdromSettings.h"

extern char** environ;

namespace yakdrom {
namespace {

namespace fs = std::filesystem;
using testing::IBusKeyStroke;
using Clock = std::chrono::steady_clock;

const fs::path kM17nComponent = "/usr/share/ibus/component/m17n.xml";
const fs::path kTcrcMap = "/usr/share/m17n/bo-tcrc.mim";
constexpr auto kDeadline = std::chrono::seconds(10);
// IBus modifier bits (ibustypes.h) for the modifiers yakdrom's notation writes.
constexpr std::uint32_t kShiftMask = 1U << 0;
constexpr std::uint32_t kLockMask = 1U << 1;
constexpr std::uint32_t kControlMask = 1U << 2;
constexpr std::uint32_t kSuperMask = 1U << 26;
constexpr std::uint32_t kAltGrMask = 1U << 7;  // Mod5, ISO_Level3_Shift

struct Arguments {
  fs::path paragraph;
  std::optional<fs::path> componentFolder;
  std::optional<fs::path> yakdromSettings;
  std::size_t words = 0;
};

struct EngineRun {
  std::string label;
  std::string engine;
  std::optional<bool> suggestions;  // yakdrom's candidates switch; nothing for other engines
};

struct Figures {
  std::vector<double> pressMs;
  double coldStartMs = 0;
  std::string memory;
  std::string check;
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--paragraph") {
      out.paragraph = value;
    } else if (name == "--component-dir") {
      out.componentFolder = value;
    } else if (name == "--yakdrom-settings") {
      out.yakdromSettings = value;
    } else if (name == "--words") {
      out.words = std::stoul(value);
    } else {
      return std::nullopt;
    }
  }
  if (argc % 2 == 0 || out.paragraph.empty()) return std::nullopt;
  return out;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// A word is a syllable: what a tsheg, a shad or a space ends.
std::size_t syllableCount(const std::string& text) {
  static const std::regex kSyllableEnd("(་|།|\\s)+");
  std::size_t count = 0;
  for (std::sregex_token_iterator it(text.begin(), text.end(), kSyllableEnd, -1), end; it != end;
       ++it) {
    if (it->length() > 0) ++count;
  }
  return count;
}

double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size()));
  return values[std::min(rank, values.size() - 1)];
}

double mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

double milliseconds(std::chrono::nanoseconds d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Runs `program` with `arguments` and returns what it printed, or nothing when it failed.
std::optional<std::string> output(const fs::path& program, const std::vector<std::string>& args) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return std::nullopt;
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&files, pipeEnds[0]);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  ::close(pipeEnds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; spawned == 0 && (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeEnds[0]);
  int status = 1;
  if (spawned == 0) ::waitpid(pid, &status, 0);
  if (spawned != 0 || status != 0) return std::nullopt;
  return text;
}

std::optional<IBusKeyStroke> strokeFor(const cli::KeyPress& key) {
  const auto named = KeyCode::namedKey(key.keyCode);
  if (!named) return std::nullopt;
  const char typed = key.shift ? named->shifted : named->plain;
  // Our notation names the key left of Backspace's place after the Mac's "delete".
  const std::string_view name =
      named->name == std::string_view("delete") ? "backspace" : named->name;
  auto stroke = typed > ' ' ? IBusKeyStroke::forCharacter(typed) : IBusKeyStroke::forName(name);
  if (!stroke) return std::nullopt;
  const std::pair<bool, std::uint32_t> modifiers[] = {{key.shift, kShiftMask},
                                                      {key.option, kAltGrMask},
                                                      {key.control, kControlMask},
                                                      {key.command, kSuperMask},
                                                      {key.capsLock, kLockMask}};
  for (const auto& [held, mask] : modifiers) {
    if (held) stroke->state |= mask;
  }
  return stroke;
}

// The keys yakdrom itself finds for `text`, from the command-line program beside this one.
std::optional<std::vector<IBusKeyStroke>> yakdromKeys(const std::string& text) {
  const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "yakdrom";
  const auto printed = output(program, {"keys", text});
  if (!printed) {
    std::fprintf(stderr, "%s keys could not type the paragraph\n", program.c_str());
    return std::nullopt;
  }
  const cli::ParsedKeys parsed = cli::parseKeyNotation(trimmed(*printed));
  if (parsed.error) {
    std::fprintf(stderr, "yakdrom keys printed %s\n", parsed.error->c_str());
    return std::nullopt;
  }
  std::vector<IBusKeyStroke> strokes;
  for (const cli::KeyPress& key : parsed.keys) {
    const auto stroke = strokeFor(key);
    if (!stroke) {
      std::fprintf(stderr, "no IBus key for %s\n", key.written.c_str());
      return std::nullopt;
    }
    strokes.push_back(*stroke);
  }
  return strokes;
}

// What each TCRC key sequence types, read from the map: plain entries, and the letters that
// take their subjoined form after the subjoining key "a".
std::map<std::string, std::string> tcrcOutputs() {
  static const std::regex kPlain(R"re(^\s*\("((?:\\.|[^"\\])+)"\s+"([^"]+)"\))re");
  static const std::regex kLetter(
      R"re(^\s*\("((?:\\.|[^"\\])+)"\s+\(cond \(\(= @-1 0x0F84\) \(delete @-1\) "([^"]+)"\) \(1 "([^"]+)"\)\)\))re");
  std::map<std::string, std::string> keysFor;
  const auto offer = [&](const std::string& text, const std::string& keys) {
    const auto known = keysFor.find(text);
    if (known == keysFor.end() || known->second.size() > keys.size()) keysFor[text] = keys;
  };
  const auto unescaped = [](std::string key) { return key.size() == 2 ? key.substr(1) : key; };
  std::ifstream in(kTcrcMap);
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, m, kLetter)) {
      offer(m[3], unescaped(m[1]));
      offer(m[2], "a" + unescaped(m[1]));
    } else if (std::regex_search(line, m, kPlain)) {
      offer(m[2], unescaped(m[1]));
    }
  }
  // The tsheg and shad keys look at the text before them, so their entries span lines; this
  // is what they type after a letter.
  offer("་", " ");
  offer("།", "/");
  return keysFor;
}

struct TcrcTyping {
  std::vector<IBusKeyStroke> strokes;
  std::string expected;  // the text without the characters no key types
  std::size_t untypable = 0;
};

// Inverts the map greedily: at each place the longest text a key sequence types.
TcrcTyping tcrcKeys(const std::string& text) {
  const auto keysFor = tcrcOutputs();
  TcrcTyping out;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t best = 0;
    std::string keys;
    for (const auto& [typed, sequence] : keysFor) {
      if (typed.size() > best && text.compare(at, typed.size(), typed) == 0) {
        best = typed.size();
        keys = sequence;
      }
    }
    if (best == 0) {
      ++out.untypable;
      do ++at;
      while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
      continue;
    }
    for (char c : keys) out.strokes.push_back(*IBusKeyStroke::forCharacter(c));
    out.expected += text.substr(at, best);
    at += best;
  }
  return out;
}

std::string comparison(const std::string& shown, const std::string& expected) {
  if (shown == expected) return "text matches";
  std::size_t at = 0;
  while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
  return "MISMATCH at byte " + std::to_string(at) + ": typed \"" + shown.substr(at, 48) +
         "\", expected \"" + expected.substr(at, 48) + "\"";
}

std::string statusLine(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(field + ":", 0) == 0) {
      return line.substr(line.find_first_not_of(" \t", field.size() + 1));
    }
  }
  return "?";
}

// The resident memory of each process the daemon started, by program name.
std::string engineMemory(const testing::IBusTestDaemon& daemon) {
  std::string out;
  for (pid_t pid : daemon.children()) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
    out += exe.filename().string() + " (pid " + std::to_string(pid) + ") VmRSS " +
           statusLine(pid, "VmRSS") + "; ";
  }
  return out;
}

// The engine's settings file: the given one with the candidates switch set.
void writeSettings(const fs::path& configHome, const std::optional<fs::path>& base,
                   bool suggestions) {
  const std::string key(kSuggestionEnabledKey);
  std::string body;
  std::istringstream lines(base ? readFile(*base) : "");
  for (std::string line; std::getline(lines, line);) {
    if (line != "[General]" && line.rfind(key + "=", 0) != 0) body += line + "\n";
  }
  fs::create_directories(configHome / "Yakdrom");
  std::ofstream(configHome / "Yakdrom" / "Yakdrom.ini")
      << "[General]\n"
      << key << "=" << (suggestions ? "true" : "false") << "\n"
      << body;
}

std::optional<Figures> typeThrough(const fs::path& components, const EngineRun& run,
                                   const Arguments& args, const std::vector<IBusKeyStroke>& keys,
                                   const std::string& expected) {
  testing::IBusTestDaemon daemon;
  testing::IBusDaemonOptions options;
  options.componentFolder = components;
  options.startDeadline = kDeadline;
  if (!daemon.start(options)) {
    std::fprintf(stderr, "%s\n", daemon.error().c_str());
    return std::nullopt;
  }
  if (run.suggestions) writeSettings(daemon.configHome(), args.yakdromSettings, *run.suggestions);
  testing::IBusTestClient client;
  testing::IBusClientOptions clientOptions;
  clientOptions.surroundingText = true;
  clientOptions.deadline = kDeadline;
  Figures figures;
  bool ok = client.connect(daemon.address(), clientOptions) && client.focusIn();
  const auto asked = Clock::now();
  ok = ok && client.setEngine(run.engine);
  const auto started = Clock::now();
  for (std::size_t i = 0; ok && i < keys.size(); ++i) {
    ok = client.press(keys[i]).has_value();
    if (i == 0) figures.coldStartMs = milliseconds(started - asked + client.lastPressTime());
    figures.pressMs.push_back(milliseconds(client.lastPressTime()));
  }
  if (!ok) {
    std::fprintf(stderr, "%s: %s\n%s", run.label.c_str(), client.error().c_str(),
                 daemon.log().c_str());
    return std::nullopt;
  }
  figures.memory = engineMemory(daemon);
  figures.check = comparison(client.shownText(), expected);
  return figures;
}

void print(const EngineRun& run, const Figures& f, std::size_t untypable) {
  std::printf("%-24s keys %6zu  p50 %.3f ms  p99 %.3f ms  mean %.3f ms  cold start %.1f ms\n",
              run.label.c_str(), f.pressMs.size(), percentile(f.pressMs, 0.5),
              percentile(f.pressMs, 0.99), mean(f.pressMs), f.coldStartMs);
  std::printf("%-24s %s\n%-24s %s", "", f.memory.c_str(), "", f.check.c_str());
  if (untypable > 0) std::printf(" (%zu characters no key types were left out)", untypable);
  std::printf("\n");
}

std::vector<IBusKeyStroke> repeated(const std::vector<IBusKeyStroke>& keys, std::size_t times) {
  std::vector<IBusKeyStroke> out;
  for (std::size_t i = 0; i < times; ++i) out.insert(out.end(), keys.begin(), keys.end());
  return out;
}

std::string repeated(const std::string& text, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

int run(const Arguments& args) {
  const std::string paragraph = trimmed(readFile(args.paragraph));
  const std::size_t words = std::max<std::size_t>(1, syllableCount(paragraph));
  const std::size_t times = std::max<std::size_t>(1, (args.words + words - 1) / words);
  std::string pattern = (fs::temp_directory_path() / "yakdrom-bench-ibus-XXXXXX").string();
  if (paragraph.empty() || ::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path components = pattern;
  fs::copy_file(kM17nComponent, components / kM17nComponent.filename());
  std::vector<EngineRun> runs;
  if (args.componentFolder) {
    fs::copy_file(*args.componentFolder / "yakdrom.xml", components / "yakdrom.xml");
    runs.push_back({"yakdrom, candidates", "yakdrom", true});
    runs.push_back({"yakdrom, no candidates", "yakdrom", false});
  }
  runs.push_back({"m17n:bo:tcrc", "m17n:bo:tcrc", std::nullopt});
  std::printf("%zu words (syllables) per paragraph, typed %zu times\n", words, times);
  std::fflush(stdout);

  const std::optional<std::vector<IBusKeyStroke>> ours =
      args.componentFolder ? yakdromKeys(paragraph) : std::vector<IBusKeyStroke>{};
  const TcrcTyping tcrc = tcrcKeys(paragraph);
  int status = ours ? 0 : 1;
  for (const EngineRun& engine : runs) {
    const bool isOurs = engine.suggestions.has_value();
    if (isOurs && !ours) continue;
    const auto& keys = isOurs ? *ours : tcrc.strokes;
    const std::string expected = repeated(isOurs ? paragraph : tcrc.expected, times);
    const auto figures = typeThrough(components, engine, args, repeated(keys, times), expected);
    if (figures) print(engine, *figures, isOurs ? 0 : tcrc.untypable * times);
    if (!figures) status = 1;
  }
  std::error_code ignored;
  fs::remove_all(components, ignored);
  return status;
}

}  // namespace
}  // namespace yakdrom

int main(int argc, char** argv) {
  const auto args = yakdrom::parseArguments(argc, argv);
  if (!args) {
    std::fprintf(stderr,
                 "usage: yakdrom_bench_ibus --paragraph FILE [--component-dir DIR] [--words N] "
                 "[--yakdrom-settings FILE]\n");
    return 2;
  }
  if (!yakdrom::testing::ibusDaemonProgram() || !std::filesystem::exists(yakdrom::kM17nComponent)) {
    std::fprintf(stderr, "yakdrom_bench_ibus needs ibus-daemon and ibus-m17n\n");
    return 1;
  }
  return yakdrom::run(*args);
}
