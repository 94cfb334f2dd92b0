// Timings of the settings a key reads (switch, page size, style, both fonts) from the
// user's settings file, each read looking at the file, against one look for them all.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "engine/store/FilePreferenceStore.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/NullFontSystem.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom {
namespace {

void readKeySettings(const YakdromSettings& settings) {
  benchmark::DoNotOptimize(settings.suggestionEnabled());
  benchmark::DoNotOptimize(settings.candidateCount());
  benchmark::DoNotOptimize(settings.panelStyle());
  benchmark::DoNotOptimize(settings.candidateFont());
  benchmark::DoNotOptimize(settings.explanationFont());
}

void settingsReads(benchmark::State& state, bool together) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("yakdrom-bench-" + std::to_string(::getpid()) + ".ini");
  FilePreferenceStore store(file);
  store.setInteger("Yakdrom.candidateCount", 9);
  NullFontSystem fonts;
  const BundleResourceLocator resources({});
  const YakdromSettings settings(store, fonts, resources);
  for (auto _ : state) {
    if (together) {
      const auto read = settings.readTogether();
      readKeySettings(settings);
    } else {
      readKeySettings(settings);
    }
  }
  std::filesystem::remove(file);
}

void BM_KeySettingsEachReadLooks(benchmark::State& state) { settingsReads(state, false); }
void BM_KeySettingsReadTogether(benchmark::State& state) { settingsReads(state, true); }

BENCHMARK(BM_KeySettingsEachReadLooks);
BENCHMARK(BM_KeySettingsReadTogether);

}  // namespace
}  // namespace yakdrom

BENCHMARK_MAIN();
