// Heap allocations and latency per key, for the composition engine alone and for a whole
// session (input controller, candidates, user dictionary) typing a replay corpus.
// Usage: yakdrom_bench_allocations KEYS_FILE [SESSION OPTIONS]
//   KEYS_FILE as bench/make-replay-corpus.sh writes it; session options as `yakdrom replay`
//   takes them (--lexicon, --user-dictionary, --set Yakdrom.suggestionEnabled=false ...).
// Only the allocations of the typing thread count: the user dictionary's writer is not on
// the path of a key.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "engine/composition/CompositionEngine.h"
#include "frontends/cli/CommandLexicon.h"
#include "frontends/cli/EphemeralStores.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/SessionOptions.h"
#include "frontends/cli/TypingSession.h"

namespace {

thread_local bool tCounting = false;
thread_local std::uint64_t tAllocations = 0;

void* allocate(std::size_t size) {
  if (tCounting) ++tAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t align) {
  if (tCounting) ++tAllocations;
  const auto alignment = static_cast<std::size_t>(align);
  const std::size_t rounded =
      (std::max<std::size_t>(size, 1) + alignment - 1) / alignment * alignment;
  if (void* p = std::aligned_alloc(alignment, rounded)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t align) {
  return allocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
  return allocateAligned(size, align);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;
using yakdrom::cli::KeyPress;

// Per-key figures of one pass over the keys.
struct Figures {
  std::vector<double> micros;
  std::uint64_t allocations = 0;
};

// Times `press` on every key and counts what it allocates on this thread.
template <typename Press>
Figures measure(const std::vector<KeyPress>& keys, Press press) {
  Figures figures;
  figures.micros.reserve(keys.size());
  for (const KeyPress& key : keys) {
    const auto before = Clock::now();
    tCounting = true;
    press(key);
    tCounting = false;
    figures.micros.push_back(
        std::chrono::duration<double, std::micro>(Clock::now() - before).count());
  }
  figures.allocations = tAllocations;
  tAllocations = 0;
  return figures;
}

double percentile(const std::vector<double>& sorted, double rank) {
  if (sorted.empty()) return 0;
  const auto at = static_cast<std::size_t>(rank * static_cast<double>(sorted.size() - 1));
  return sorted[at];
}

void report(const char* name, Figures figures) {
  std::sort(figures.micros.begin(), figures.micros.end());
  const double keys = static_cast<double>(std::max<std::size_t>(figures.micros.size(), 1));
  std::printf("%-8s keys %zu  allocations/key %.2f  p50 %.2f us  p90 %.2f us  p99 %.2f us\n", name,
              figures.micros.size(), static_cast<double>(figures.allocations) / keys,
              percentile(figures.micros, 0.50), percentile(figures.micros, 0.90),
              percentile(figures.micros, 0.99));
}

std::vector<KeyPress> readKeys(const std::string& path) {
  std::ifstream in(path);
  std::vector<KeyPress> keys;
  for (std::string line; std::getline(in, line);) {
    const auto parsed = yakdrom::cli::parseKeyNotation(line);
    keys.insert(keys.end(), parsed.keys.begin(), parsed.keys.end());
  }
  return keys;
}

}  // namespace

int main(int argc, char** argv) {
  const yakdrom::cli::Args args(argv + 1, argv + argc);
  const auto parsed = yakdrom::cli::parseSessionOptions(args, false);
  if (parsed.error || parsed.options.operands.size() != 1) {
    std::cerr << "usage: yakdrom_bench_allocations KEYS_FILE [SESSION OPTIONS]\n";
    return 2;
  }
  const std::vector<KeyPress> keys = readKeys(parsed.options.operands.front());
  if (keys.empty()) {
    std::cerr << "yakdrom_bench_allocations: no keys in " << parsed.options.operands.front()
              << "\n";
    return 1;
  }

  yakdrom::CompositionState state;
  report("engine", measure(keys, [&state](const KeyPress& key) {
           auto result = yakdrom::CompositionEngine::handle(key.input(), state);
           state = std::move(result.state);
         }));

  yakdrom::cli::CommandLexicon lexicon(parsed.options.lexicon);
  auto opened = yakdrom::cli::EphemeralStores::open(parsed.options);
  if (!opened.stores) {
    std::cerr << "yakdrom_bench_allocations: " << opened.error << "\n";
    return 1;
  }
  // Starting the session starts the lexicon load, which the keys must not race.
  yakdrom::cli::TypingSession session(opened.stores->stores(lexicon.store()));
  session.start();
  if (!lexicon.store().waitUntilLoaded()) {
    std::cerr << "yakdrom_bench_allocations: " << lexicon.failure() << "\n";
    return 1;
  }
  report("session",
         measure(keys, [&session](const KeyPress& key) { static_cast<void>(session.press(key)); }));
  return 0;
}
