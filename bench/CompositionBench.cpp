// Per-key cost of the composition engine over a replay that types the whole word list,
// and the cost of finding the keys for one word.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/composition/CompositionEngine.h"
#include "frontends/cli/KeySequenceFinder.h"

namespace {

using yakdrom::CompositionState;
using yakdrom::KeyInput;
using yakdrom::cli::KeySequenceFinder;

std::vector<std::string> wordList() {
  const char* dir = std::getenv("YAKDROM_DATA");
  std::ifstream in(std::string(dir ? dir : "resources/data") + "/bo-words.txt");
  std::vector<std::string> words;
  for (std::string w; std::getline(in, w);) words.push_back(w);
  return words;
}

const std::vector<std::string>& words() {
  static const auto list = wordList();
  return list;
}

// The replay: every word of the list, typed by the keys the finder gives for it.
const std::vector<KeyInput>& replayKeys() {
  static const auto keys = [] {
    std::vector<KeyInput> out;
    KeySequenceFinder finder;
    for (const auto& w : words()) {
      for (const auto& k : finder.find(w).keys) out.push_back(k.input());
    }
    return out;
  }();
  return keys;
}

void BM_HandlePerKey(benchmark::State& state) {
  const auto& keys = replayKeys();
  if (keys.empty()) {
    state.SkipWithError("word list not found; set YAKDROM_DATA to resources/data");
    return;
  }
  CompositionState s;
  std::size_t i = 0;
  for (auto _ : state) {
    auto r = yakdrom::CompositionEngine::handle(keys[i], s);
    s = std::move(r.state);
    benchmark::DoNotOptimize(r.output);
    if (++i == keys.size()) i = 0;
  }
  state.counters["keys"] = static_cast<double>(keys.size());
}
BENCHMARK(BM_HandlePerKey);

void BM_KeysPerWord(benchmark::State& state) {
  const auto& list = words();
  if (list.empty()) {
    state.SkipWithError("word list not found; set YAKDROM_DATA to resources/data");
    return;
  }
  std::size_t i = 0;
  for (auto _ : state) {
    KeySequenceFinder finder;  // no memory of earlier words
    benchmark::DoNotOptimize(finder.find(list[i]));
    i = (i + 7919) % list.size();
  }
}
BENCHMARK(BM_KeysPerWord);

}  // namespace

BENCHMARK_MAIN();
