// Key round trips through a private fcitx5 daemon, as a desktop application sends them over
// D-Bus: for each input method, the time from a key press to its answer (the commit, preedit
// and candidate list arrive before it), and the resident memory our addon adds to the daemon
// (the daemon after typing with it, less the daemon with only the US keyboard after the same
// keys). fcitx5-m17n's EWTS map types an EWTS paragraph; yakdrom, with candidates and
// without, types the Tibetan that map produced (or the --paragraph FILE), with the keys
// `yakdrom keys` finds for it.
// Usage: yakdrom_bench_fcitx5 [--paragraph FILE] [--ewts FILE] [--words N]
//                             [--yakdrom-settings FILE]
//   N repeats each paragraph until N words (syllables) were typed; the settings FILE is the
//   addon's Yakdrom.ini, to which the candidates switch is added.
#include <fcitx-utils/keysym.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "RoundTripFigures.h"
#include "engine/store/FilePreferenceStore.h"
#include "frontends/fcitx5/support/FcitxTestClient.h"
#include "frontends/fcitx5/support/FcitxTestDaemon.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;
using testing::KeyStroke;
using Clock = std::chrono::steady_clock;

const fs::path kAddonFolder = YAKDROM_FCITX5_ADDON_DIR;
const fs::path kDataFolder = YAKDROM_FCITX5_DATA_DIR;
const fs::path kEwtsMap = "/usr/share/m17n/bo-ewts.mim";
constexpr auto kDeadline = std::chrono::seconds(10);

// Space ends a syllable with a tsheg, "/" is the shad; the text says what the running text
// of bench/running-text.txt begins with.
constexpr const char* kEwtsParagraph =
    "bod kyi skad yig ni mi rigs kyi rig gnas kyi rtsa ba yin/ nga tshos nyin re bzhin dpe cha "
    "klog pa dang yi ge 'bri ba la dga' po yod/ slob grwa nas slob phrug rnams kyis dge rgan "
    "gyi bka' slob la nyan nas shes yon slob sbyong byed kyi yod/";

constexpr auto bit(fcitx::KeyState state) { return static_cast<std::uint32_t>(state); }

const bench::ModifierMasks kMasks{bit(fcitx::KeyState::Shift), bit(fcitx::KeyState::Mod5),
                                  bit(fcitx::KeyState::Ctrl), bit(fcitx::KeyState::Super),
                                  bit(fcitx::KeyState::CapsLock)};

struct Arguments {
  std::optional<fs::path> paragraph;
  std::optional<fs::path> ewts;
  std::optional<fs::path> yakdromSettings;
  std::size_t words = 0;
};

struct Run {
  std::string label;
  std::string inputMethod;
  std::vector<std::string> addons;
  std::optional<bool> suggestions;  // yakdrom's candidates switch; nothing for other engines
};

struct Figures {
  std::vector<double> pressMs;
  double readyMs = 0;
  long residentKb = 0;
  std::string typed;
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--paragraph") {
      out.paragraph = value;
    } else if (name == "--ewts") {
      out.ewts = value;
    } else if (name == "--yakdrom-settings") {
      out.yakdromSettings = value;
    } else if (name == "--words") {
      out.words = std::stoul(value);
    } else {
      return std::nullopt;
    }
  }
  if (argc % 2 == 0) return std::nullopt;
  return out;
}

std::vector<KeyStroke> ewtsKeys(const std::string& text) {
  std::vector<KeyStroke> strokes;
  for (const char c : text) {
    if (const auto stroke = KeyStroke::forCharacter(c)) strokes.push_back(*stroke);
  }
  return strokes;
}

// The addon's settings file: the given one with the candidates switch set.
void writeSettings(const fs::path& configHome, const std::optional<fs::path>& base,
                   bool suggestions) {
  const fs::path file = configHome / "Yakdrom" / "Yakdrom.ini";
  fs::create_directories(file.parent_path());
  if (base) fs::copy_file(*base, file, fs::copy_options::overwrite_existing);
  FilePreferenceStore store(file);
  store.setBoolean(kSuggestionEnabledKey, suggestions);
}

testing::FcitxDaemonOptions daemonOptions(const Run& run) {
  testing::FcitxDaemonOptions options;
  options.addons = run.addons;
  options.startDeadline = kDeadline;
  options.environment = {
      {"FCITX_ADDON_DIRS", kAddonFolder.string() + ":" + testing::systemAddonFolder().string()},
      {"FCITX_DATA_DIRS", kDataFolder.string() + ":" + testing::systemDataFolder().string()}};
  return options;
}

// Waits until the addon has its lexicon, as a letter then shows candidates; a letter typed
// and taken back leaves the text as it was.
bool warmUp(testing::FcitxTestClient& client, bool expectCandidates) {
  const auto until = Clock::now() + kDeadline;
  for (;;) {
    if (!client.press(*KeyStroke::forCharacter('f'))) return false;
    const auto panels = client.events({testing::FcitxEventKind::updateClientSideUI});
    const bool offered = !panels.empty() && !panels.back().candidates.empty();
    if (!client.press(*KeyStroke::forName("backspace"))) return false;
    if (offered || !expectCandidates) break;
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  client.clearEvents();
  return true;
}

std::optional<Figures> typeThrough(const Run& run, const Arguments& args,
                                   const std::vector<KeyStroke>& keys) {
  testing::FcitxTestDaemon daemon;
  if (!daemon.prepare()) return std::nullopt;
  if (run.suggestions) writeSettings(daemon.configHome(), args.yakdromSettings, *run.suggestions);
  if (!daemon.start(daemonOptions(run))) {
    std::fprintf(stderr, "%s\n", daemon.error().c_str());
    return std::nullopt;
  }
  testing::FcitxTestClient client;
  testing::FcitxClientOptions clientOptions;
  clientOptions.deadline = kDeadline;
  Figures figures;
  const auto asked = Clock::now();
  bool ok = client.connect(daemon.address(), clientOptions) && client.focusIn() &&
            (run.inputMethod.empty() || client.useInputMethod(run.inputMethod)) &&
            warmUp(client, run.suggestions.value_or(false));
  figures.readyMs = bench::milliseconds(Clock::now() - asked);
  for (std::size_t i = 0; ok && i < keys.size(); ++i) {
    ok = client.press(keys[i]).has_value();
    figures.pressMs.push_back(bench::milliseconds(client.lastPressTime()));
  }
  if (!ok) {
    std::fprintf(stderr, "%s: %s\n%s", run.label.c_str(), client.error().c_str(),
                 daemon.log().c_str());
    return std::nullopt;
  }
  figures.residentKb = bench::residentKilobytes(daemon.pid()).value_or(0);
  figures.typed = client.shownText();
  return figures;
}

void print(const Run& run, const Figures& f) {
  std::printf(
      "%-24s keys %6zu  p50 %.3f ms  p99 %.3f ms  mean %.3f ms  ready %.1f ms  "
      "fcitx5 VmRSS %ld kB\n",
      run.label.c_str(), f.pressMs.size(), bench::percentile(f.pressMs, 0.5),
      bench::percentile(f.pressMs, 0.99), bench::mean(f.pressMs), f.readyMs, f.residentKb);
}

int run(const Arguments& args) {
  const std::string ewts = args.ewts ? bench::trimmed(bench::readFile(*args.ewts)) : kEwtsParagraph;
  const std::size_t words = std::max<std::size_t>(1, bench::syllableCount(ewts));
  const std::size_t times = std::max<std::size_t>(1, (args.words + words - 1) / words);
  std::printf("%zu words (syllables) per paragraph, typed %zu times\n", words, times);
  std::fflush(stdout);
  const std::vector<KeyStroke> ewtsStrokes = bench::repeated(ewtsKeys(ewts + " "), times);

  const Run keyboard{"fcitx5, US keyboard", "", {}, std::nullopt};
  const auto baseline = typeThrough(keyboard, args, ewtsStrokes);
  if (baseline) print(keyboard, *baseline);

  const Run m17n{"m17n_bo_ewts", "m17n_bo_ewts", {"m17n"}, std::nullopt};
  const auto peer = typeThrough(m17n, args, ewtsStrokes);
  if (peer) print(m17n, *peer);
  if (!baseline || !peer) return 1;

  std::string tibetan = peer->typed;
  if (args.paragraph) {
    const std::string paragraph = bench::trimmed(bench::readFile(*args.paragraph));
    const std::size_t own = std::max<std::size_t>(1, bench::syllableCount(paragraph));
    tibetan = bench::repeated(paragraph, std::max<std::size_t>(1, (args.words + own - 1) / own));
  }
  const auto keys = bench::yakdromKeys<KeyStroke>(tibetan, kMasks);
  if (!keys) return 1;
  int status = 0;
  for (const bool suggestions : {true, false}) {
    const Run ours{suggestions ? "yakdrom, candidates" : "yakdrom, no candidates",
                   "yakdrom",
                   {"yakdrom"},
                   suggestions};
    const auto figures = typeThrough(ours, args, *keys);
    if (!figures) {
      status = 1;
      continue;
    }
    print(ours, *figures);
    std::printf("%-24s %s; the addon adds %ld kB to the daemon\n", "",
                bench::comparison(figures->typed, tibetan).c_str(),
                figures->residentKb - baseline->residentKb);
  }
  return status;
}

}  // namespace
}  // namespace yakdrom

int main(int argc, char** argv) {
  const auto args = yakdrom::parseArguments(argc, argv);
  if (!args) {
    std::fprintf(stderr,
                 "usage: yakdrom_bench_fcitx5 [--paragraph FILE] [--ewts FILE] [--words N] "
                 "[--yakdrom-settings FILE]\n");
    return 2;
  }
  if (!yakdrom::testing::fcitxProgram() || !yakdrom::testing::busProgram() ||
      !std::filesystem::exists(yakdrom::kEwtsMap)) {
    std::fprintf(stderr, "yakdrom_bench_fcitx5 needs fcitx5, dbus-daemon and fcitx5-m17n\n");
    return 1;
  }
  return yakdrom::run(*args);
}
