// Timings of the lexicon on the paths the input method takes: the one-time load of lex.dat
// (warm, and first in a fresh process with its peak memory) and prefix candidates while
// typing. Runs on the shipped lexicon and on a synthetic 200,000-word one derived from it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/lexicon/DictionaryEngine.h"
#include "engine/lexicon/DictionaryLoader.h"
#include "engine/lexicon/LexiconWriter.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

namespace fs = std::filesystem;

constexpr int kCandidateLimit = 50;
constexpr std::size_t kSyntheticWords = 200000;
constexpr std::string_view kFirstLoadFlag = "--first-load-of";

std::string selfPath;

fs::path syntheticPath() {
  return fs::temp_directory_path() / ("yakdrom-bench-lexicon-" + std::to_string(getpid()) + ".dat");
}

// Returns a field of /proc/self/status ("VmHWM", "VmRSS") in KiB.
long statusKiB(std::string_view field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field) && line[field.size()] == ':') {
      return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
  }
  return 0;
}

// Run in a fresh process, as the input method loads: no heap or page left over from other
// benchmarks hides the growth or the page faults of a first load.
int printFirstLoad(const char* path) {
  const long before = statusKiB("VmHWM");
  const auto start = std::chrono::steady_clock::now();
  const auto loaded = DictionaryLoader::load(path);
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  const long peak = statusKiB("VmHWM");
  if (!loaded) return 1;
  std::printf("%ld %f\n", peak - before, elapsed.count());
  return 0;
}

struct FirstLoad {
  long peakGrowthKiB = 0;
  double milliseconds = 0;
};

std::optional<FirstLoad> firstLoad(const fs::path& lexicon) {
  const std::string command =
      "'" + selfPath + "' " + std::string(kFirstLoadFlag) + " '" + lexicon.string() + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  FirstLoad load;
  if (!pipe || std::fscanf(pipe.get(), "%ld %lf", &load.peakGrowthKiB, &load.milliseconds) != 2) {
    return std::nullopt;
  }
  return load;
}

struct Lexicon {
  fs::path path;
  WordList words;
  std::vector<std::string> prefixes;
};

// Prefixes of one to three characters from words spread over the whole list, so the
// queries land everywhere in it.
std::vector<std::string> prefixesOf(const WordList& words) {
  std::vector<std::string> prefixes;
  for (std::size_t i = 0; i < words.size(); i += 97) {
    const std::string_view word = words[i];
    const auto chars = text::characters(word);
    const std::size_t n = std::min<std::size_t>(chars.size(), 1 + i % 3);
    prefixes.emplace_back(word.substr(0, chars[n - 1].data() + chars[n - 1].size() - word.data()));
  }
  return prefixes;
}

const Lexicon& shipped() {
  static const Lexicon lexicon = [] {
    Lexicon l{YAKDROM_LEXICON_PATH, {}, {}};
    auto loaded = DictionaryLoader::load(l.path);
    if (!loaded) {
      std::fprintf(stderr, "cannot load %s; build the yakdrom_lexicon target\n", l.path.c_str());
      std::exit(1);
    }
    l.words = std::move(loaded.value().words);
    l.prefixes = prefixesOf(l.words);
    return l;
  }();
  return lexicon;
}

// The shipped words plus compounds of two of them, sorted, written as a packed file.
const Lexicon& synthetic() {
  static const Lexicon lexicon = [] {
    const auto& base = shipped();
    std::vector<std::string> words(base.words.begin(), base.words.end());
    const std::size_t n = base.words.size();
    for (std::size_t i = 0; words.size() < kSyntheticWords; ++i) {
      words.push_back(std::string(base.words[i % n]).append(base.words[(i * 7919 + 13) % n]));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    DictionaryLoader::Result content{words, {}, {}, {}};
    Lexicon l{syntheticPath(), {}, {}};
    const auto bytes = LexiconWriter::encode(content, LexiconForm::packed);
    if (!bytes || !LexiconWriter::write(l.path, *bytes).ok()) std::exit(1);
    l.words = std::move(content.words);
    l.prefixes = prefixesOf(l.words);
    return l;
  }();
  return lexicon;
}

const Lexicon& lexiconFor(const benchmark::State& state) {
  return state.range(0) == 0 ? shipped() : synthetic();
}

void BM_Load(benchmark::State& state) {
  const auto& lexicon = lexiconFor(state);
  for (auto _ : state) {
    auto loaded = DictionaryLoader::load(lexicon.path);
    benchmark::DoNotOptimize(loaded);
  }
  state.counters["words"] = static_cast<double>(lexicon.words.size());
  state.counters["file_MB"] = static_cast<double>(fs::file_size(lexicon.path)) / 1e6;
}
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->ArgName("synthetic")->Unit(benchmark::kMillisecond);

void BM_FirstLoad(benchmark::State& state) {
  const auto& lexicon = lexiconFor(state);
  std::optional<FirstLoad> load;
  for (auto _ : state) load = firstLoad(lexicon.path);
  if (!load) {
    state.SkipWithError("the measuring process failed");
    return;
  }
  const double fileBytes = static_cast<double>(fs::file_size(lexicon.path));
  const double peakBytes = static_cast<double>(load->peakGrowthKiB) * 1024;
  state.counters["first_load_ms"] = load->milliseconds;
  state.counters["peak_growth_MB"] = peakBytes / 1e6;
  state.counters["peak_per_file_byte"] = peakBytes / fileBytes;
}
BENCHMARK(BM_FirstLoad)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("synthetic")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_Candidates(benchmark::State& state) {
  const auto& lexicon = lexiconFor(state);
  DictionaryEngine engine;
  engine.install(lexicon.words);
  std::size_t next = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    const auto words = engine.candidates(lexicon.prefixes[next], kCandidateLimit);
    found += words.size();
    benchmark::DoNotOptimize(words);
    if (++next == lexicon.prefixes.size()) next = 0;
  }
  state.counters["words_per_query"] =
      static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Candidates)->Arg(0)->Arg(1)->ArgName("synthetic")->Unit(benchmark::kMicrosecond);

void BM_Contains(benchmark::State& state) {
  const auto& lexicon = lexiconFor(state);
  DictionaryEngine engine;
  engine.install(lexicon.words);
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.contains(lexicon.words[next]));
    next = (next + 7919) % lexicon.words.size();
  }
}
BENCHMARK(BM_Contains)->Arg(0)->Arg(1)->ArgName("synthetic")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace yakdrom

int main(int argc, char** argv) {
  if (argc == 3 && argv[1] == yakdrom::kFirstLoadFlag) return yakdrom::printFirstLoad(argv[2]);
  yakdrom::selfPath = std::filesystem::read_symlink("/proc/self/exe").string();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove(yakdrom::syntheticPath(), ignored);
  return 0;
}
