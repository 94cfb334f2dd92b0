// Timings of the settings window on an offscreen screen: building it with all four tabs (what
// the first Settings… costs), showing it again after the language changed (a rebuild), and
// opening the editor of the learnt words on a large dictionary.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "ui/settings/SettingsTestWindow.h"
#include "ui/settings/UserDictionaryEditor.h"

namespace yakdrom {
namespace {

void BM_BuildSettingsWindow(benchmark::State& state) {
  testing::SettingsTestWindow window;
  for (auto _ : state) {
    window.rebuild();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_BuildSettingsWindow)->Unit(benchmark::kMillisecond);

void BM_ShowAfterTheLanguageChanged(benchmark::State& state) {
  testing::SettingsTestWindow window;
  bool chinese = false;
  for (auto _ : state) {
    chinese = !chinese;
    window.languages.list = {chinese ? "zh-CN" : "en-US"};
    window.controller->show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ShowAfterTheLanguageChanged)->Unit(benchmark::kMillisecond);

// state.range(0): learnt words the editor opens with.
void BM_OpenUserDictionaryEditor(benchmark::State& state) {
  testing::SettingsTestWindow window;
  std::string text;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    text += "ཀ" + std::to_string(i) + "་ " + std::to_string(1 + i % 50) + "\n";
  }
  static_cast<void>(window.userDictionary.replaceAll(text));
  for (auto _ : state) {
    UserDictionaryEditor editor(window.userDictionary.allEntries(), InterfaceLanguage::english, {},
                                &window.controller->window());
    editor.show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_OpenUserDictionaryEditor)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yakdrom

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
