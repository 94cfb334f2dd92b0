// Timings of the lexicon on the paths the input method takes: the one-time load of lex.dat
// (time and peak memory) and prefix candidates while typing. Runs on the shipped lexicon
// and on a synthetic 200,000-word one derived from it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
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
constexpr std::string_view kPeakFlag = "--peak-memory-of";

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

// Run in a fresh process, so no heap left over from other benchmarks hides the growth.
int printPeakGrowth(const char* path) {
  const long before = statusKiB("VmHWM");
  const auto loaded = DictionaryLoader::load(path);
  const long peak = statusKiB("VmHWM");
  if (!loaded) return 1;
  std::printf("%ld\n", peak - before);
  return 0;
}

std::optional<long> peakGrowthKiB(const fs::path& lexicon) {
  const std::string command =
      "'" + selfPath + "' " + std::string(kPeakFlag) + " '" + lexicon.string() + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  long kib = 0;
  if (!pipe || std::fscanf(pipe.get(), "%ld", &kib) != 1) return std::nullopt;
  return kib;
}

struct Lexicon {
  fs::path path;
  std::vector<std::string> words;
  std::vector<std::string> prefixes;
};

// Prefixes of one to three characters from words spread over the whole list, so the
// queries land everywhere in it.
std::vector<std::string> prefixesOf(const std::vector<std::string>& words) {
  std::vector<std::string> prefixes;
  for (std::size_t i = 0; i < words.size(); i += 97) {
    const auto chars = text::characters(words[i]);
    const std::size_t n = std::min<std::size_t>(chars.size(), 1 + i % 3);
    prefixes.emplace_back(
        words[i].substr(0, chars[n - 1].data() + chars[n - 1].size() - words[i].data()));
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
    l.words = std::move(loaded->words);
    l.prefixes = prefixesOf(l.words);
    return l;
  }();
  return lexicon;
}

// The shipped words plus compounds of two of them, sorted, written as a packed file.
const Lexicon& synthetic() {
  static const Lexicon lexicon = [] {
    const auto& base = shipped();
    DictionaryLoader::Result content{base.words, {}, {}, {}};
    const std::size_t n = base.words.size();
    for (std::size_t i = 0; content.words.size() < kSyntheticWords; ++i) {
      content.words.push_back(base.words[i % n] + base.words[(i * 7919 + 13) % n]);
    }
    std::sort(content.words.begin(), content.words.end());
    content.words.erase(std::unique(content.words.begin(), content.words.end()),
                        content.words.end());
    Lexicon l{syntheticPath(), {}, {}};
    const auto bytes = LexiconWriter::encode(content, LexiconForm::packed);
    if (!bytes || LexiconWriter::save(l.path, *bytes)) std::exit(1);
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

void BM_LoadPeakMemory(benchmark::State& state) {
  const auto& lexicon = lexiconFor(state);
  std::optional<long> kib;
  for (auto _ : state) kib = peakGrowthKiB(lexicon.path);
  if (!kib) {
    state.SkipWithError("the measuring process failed");
    return;
  }
  const double fileBytes = static_cast<double>(fs::file_size(lexicon.path));
  state.counters["peak_growth_MB"] = static_cast<double>(*kib) * 1024 / 1e6;
  state.counters["peak_per_file_byte"] = static_cast<double>(*kib) * 1024 / fileBytes;
}
BENCHMARK(BM_LoadPeakMemory)
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
  if (argc == 3 && argv[1] == yakdrom::kPeakFlag) return yakdrom::printPeakGrowth(argv[2]);
  yakdrom::selfPath = std::filesystem::read_symlink("/proc/self/exe").string();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove(yakdrom::syntheticPath(), ignored);
  return 0;
}
