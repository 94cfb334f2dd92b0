// Timings of the user dictionary on the input controller's thread: loading a large file,
// candidate queries on a large dictionary, and learning while the serial writer rewrites the
// file behind it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/learning/UserDictionary.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

constexpr std::int64_t kCandidateLimit = 10;

// Random but plausible Tibetan words: one to three syllables of a root letter, perhaps a
// subjoined letter and a vowel sign, perhaps a suffix, and a tsheg.
std::vector<std::string> makeWords(std::size_t count, unsigned seed) {
  const char* roots[] = {"ཀ", "ཁ", "ག", "ང", "ཅ", "ཆ", "ཇ", "ཉ", "ཏ", "ཐ", "ད", "ན", "པ", "ཕ", "བ",
                         "མ", "ཙ", "ཚ", "ཛ", "ཝ", "ཞ", "ཟ", "འ", "ཡ", "ར", "ལ", "ཤ", "ས", "ཧ", "ཨ"};
  const char* subjoined[] = {"", "", "", "ྱ", "ྲ", "ླ"};
  const char* vowels[] = {"", "", "ི", "ུ", "ེ", "ོ"};
  const char* suffixes[] = {"", "", "ག", "ང", "ད", "ན", "བ", "མ", "ར", "ལ", "ས"};
  std::mt19937 rng(seed);
  auto pick = [&](const auto& table) { return table[rng() % std::size(table)]; };
  std::set<std::string> words;
  while (words.size() < count) {
    std::string w;
    for (unsigned s = 0, n = 1 + rng() % 4; s < n; ++s) {
      w += std::string(pick(roots)) + pick(subjoined) + pick(vowels) + pick(suffixes) + "་";
    }
    words.insert(std::move(w));
  }
  std::vector<std::string> out(words.begin(), words.end());
  std::shuffle(out.begin(), out.end(), rng);
  return out;
}

std::filesystem::path temporaryFile() {
  std::string pattern = (std::filesystem::temp_directory_path() / "yakdrom-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return std::filesystem::path(pattern) / "user-dictionary.txt";
}

std::unique_ptr<UserDictionary> makeDictionary(std::size_t entries) {
  const auto file = temporaryFile();
  std::mt19937 rng(11);
  std::string text;
  for (const auto& w : makeWords(entries, 5)) {
    text += w + " " + std::to_string(1 + rng() % 50) + "\n";
  }
  auto dict = std::make_unique<UserDictionary>(file);
  static_cast<void>(dict->replaceAll(text));
  return dict;
}

void removeDictionary(const UserDictionary& dict) {
  std::error_code ignored;
  std::filesystem::remove_all(dict.url().parent_path(), ignored);
}

// state.range(0): distinct frequencies among 100,000 entries. The file lists them in entry
// order, so its words come in that many sorted runs: 1 is a file sorted by word, 100,000 one
// in no word order at all.
void BM_UserDictionaryLoad(benchmark::State& state) {
  constexpr std::size_t kEntries = 100'000;
  const auto file = temporaryFile();
  const auto frequencies = static_cast<std::size_t>(state.range(0));
  std::mt19937 rng(13);
  std::string text;
  std::size_t drawn = 0;
  for (const auto& w : makeWords(kEntries, 5)) {
    const std::size_t freq = frequencies >= kEntries ? ++drawn : 1 + rng() % frequencies;
    text += w + " " + std::to_string(freq) + "\n";
  }
  {
    UserDictionary writer(file);
    static_cast<void>(writer.replaceAll(text));
  }
  for (auto _ : state) {
    auto dict = std::make_unique<UserDictionary>(file);
    benchmark::DoNotOptimize(dict.get());
    state.PauseTiming();
    dict.reset();
    state.ResumeTiming();
  }
  std::error_code ignored;
  std::filesystem::remove_all(file.parent_path(), ignored);
}
BENCHMARK(BM_UserDictionaryLoad)->Arg(1)->Arg(50)->Arg(100'000)->Unit(benchmark::kMillisecond);

// state.range(0): characters of the prefix, taken from the start of stored words.
void BM_UserDictionaryCandidates(benchmark::State& state) {
  const auto dict = makeDictionary(100'000);
  std::vector<std::string> prefixes;
  for (const auto& w : makeWords(256, 99)) {
    const auto chars = text::characters(w);
    std::string p;
    for (std::size_t k = 0; k < chars.size() && k < static_cast<std::size_t>(state.range(0)); ++k) {
      p += chars[k];
    }
    prefixes.push_back(p);
  }
  std::size_t i = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    const auto words = dict->candidates(prefixes[i++ % prefixes.size()], kCandidateLimit);
    found += words.size();
    benchmark::DoNotOptimize(words.data());
  }
  state.counters["entries"] = static_cast<double>(dict->count());
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
  removeDictionary(*dict);
}
BENCHMARK(BM_UserDictionaryCandidates)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// state.range(0): entries held. Half the learnt words are new, half raise a frequency.
void BM_UserDictionaryLearn(benchmark::State& state) {
  const auto dict = makeDictionary(static_cast<std::size_t>(state.range(0)));
  auto words = makeWords(4096, 5);  // the seed of the dictionary's own words
  const auto fresh = makeWords(4096, 77);
  words.insert(words.end(), fresh.begin(), fresh.end());
  std::shuffle(words.begin(), words.end(), std::mt19937(3));
  std::size_t i = 0;
  for (auto _ : state) dict->learn(words[i++ % words.size()]);
  static_cast<void>(dict->flush());
  removeDictionary(*dict);
}
BENCHMARK(BM_UserDictionaryLearn)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// state.range(0): entries held. The settings window's editor saves a few changes to the whole
// list: both lists are read, compared and applied, and the file is written.
void BM_UserDictionaryApplyEdits(benchmark::State& state) {
  const auto dict = makeDictionary(static_cast<std::size_t>(state.range(0)));
  const std::vector<UserDictionary::Entry> opened = dict->allEntries();
  std::vector<UserDictionary::Entry> edited = opened;
  edited[0].freq += 7;
  edited.erase(edited.begin() + 1);
  edited.push_back({"བཀྲ་ཤིས་བདེ་ལེགས་", 3});
  for (auto _ : state) benchmark::DoNotOptimize(dict->applyEdits(opened, edited));
  removeDictionary(*dict);
}
BENCHMARK(BM_UserDictionaryApplyEdits)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yakdrom

BENCHMARK_MAIN();
