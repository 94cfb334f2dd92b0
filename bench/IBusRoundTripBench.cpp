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

#include "RoundTripFigures.h"
#include "frontends/ibus/support/IBusTestClient.h"
#include "frontends/ibus/support/IBusTestDaemon.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;
using testing::KeyStroke;
using Clock = std::chrono::steady_clock;

const fs::path kM17nComponent = "/usr/share/ibus/component/m17n.xml";
const fs::path kTcrcMap = "/usr/share/m17n/bo-tcrc.mim";
constexpr auto kDeadline = std::chrono::seconds(10);
// IBus modifier bits (ibustypes.h) for the modifiers yakdrom's notation writes; AltGr is
// Mod5, ISO_Level3_Shift.
const bench::ModifierMasks kMasks{1U << 0, 1U << 7, 1U << 2, 1U << 26, 1U << 1};

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
  std::vector<KeyStroke> strokes;
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
    for (char c : keys) out.strokes.push_back(*KeyStroke::forCharacter(c));
    out.expected += text.substr(at, best);
    at += best;
  }
  return out;
}

// The resident memory of each process the daemon started, by program name.
std::string engineMemory(const testing::IBusTestDaemon& daemon) {
  std::string out;
  for (pid_t pid : daemon.children()) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
    out += exe.filename().string() + " (pid " + std::to_string(pid) + ") VmRSS " +
           bench::statusLine(pid, "VmRSS") + "; ";
  }
  return out;
}

// The engine's settings file: the given one with the candidates switch set.
void writeSettings(const fs::path& configHome, const std::optional<fs::path>& base,
                   bool suggestions) {
  const std::string key(kSuggestionEnabledKey);
  std::string body;
  std::istringstream lines(base ? bench::readFile(*base) : "");
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
                                   const Arguments& args, const std::vector<KeyStroke>& keys,
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
    if (i == 0) figures.coldStartMs = bench::milliseconds(started - asked + client.lastPressTime());
    figures.pressMs.push_back(bench::milliseconds(client.lastPressTime()));
  }
  if (!ok) {
    std::fprintf(stderr, "%s: %s\n%s", run.label.c_str(), client.error().c_str(),
                 daemon.log().c_str());
    return std::nullopt;
  }
  figures.memory = engineMemory(daemon);
  figures.check = bench::comparison(client.shownText(), expected);
  return figures;
}

void print(const EngineRun& run, const Figures& f, std::size_t untypable) {
  std::printf("%-24s keys %6zu  p50 %.3f ms  p99 %.3f ms  mean %.3f ms  cold start %.1f ms\n",
              run.label.c_str(), f.pressMs.size(), bench::percentile(f.pressMs, 0.5),
              bench::percentile(f.pressMs, 0.99), bench::mean(f.pressMs), f.coldStartMs);
  std::printf("%-24s %s\n%-24s %s", "", f.memory.c_str(), "", f.check.c_str());
  if (untypable > 0) std::printf(" (%zu characters no key types were left out)", untypable);
  std::printf("\n");
}

int run(const Arguments& args) {
  const std::string paragraph = bench::trimmed(bench::readFile(args.paragraph));
  const std::size_t words = std::max<std::size_t>(1, bench::syllableCount(paragraph));
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

  const std::optional<std::vector<KeyStroke>> ours =
      args.componentFolder ? bench::yakdromKeys<KeyStroke>(paragraph, kMasks)
                           : std::vector<KeyStroke>{};
  const TcrcTyping tcrc = tcrcKeys(paragraph);
  int status = ours ? 0 : 1;
  for (const EngineRun& engine : runs) {
    const bool isOurs = engine.suggestions.has_value();
    if (isOurs && !ours) continue;
    const auto& keys = isOurs ? *ours : tcrc.strokes;
    const std::string expected = bench::repeated(isOurs ? paragraph : tcrc.expected, times);
    const auto figures =
        typeThrough(components, engine, args, bench::repeated(keys, times), expected);
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
