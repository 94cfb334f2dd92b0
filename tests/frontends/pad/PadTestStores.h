// The stores a pad types with in the tests, the screenshots and the benchmark: settings
// and statistics in memory, a user dictionary in a given file and a lexicon loading in the
// background from a given file or the one beside the program.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "engine/lexicon/TibetanDictionary.h"
#include "engine/store/InMemoryPreferenceStore.h"
#include "frontends/pad/PadInputMethod.h"
#include "ime/platform/Log.h"
#include "ime/startup/DictionaryStore.h"

namespace yakdrom::testing {

/// A settings window that only counts how often it was asked to open.
class CountingSettingsWindow final : public SettingsWindowOpener {
 public:
  void show() override { ++shown; }
  int shown = 0;
};

/// A log that keeps nothing: these programs have no one to show its lines to.
class SilentLog final : public Log {
 protected:
  void writeLine(std::string_view /*line*/) override {}
};

struct PadTestStores {
  PadTestStores(const std::filesystem::path& userDictionaryFile,
                const std::optional<std::filesystem::path>& lexiconFile)
      : userDictionary(userDictionaryFile),
        lexicon(ApplicationBundle::forRunningExecutable(), log, explanations) {
    if (lexiconFile) lexicon.useLexiconFile(*lexiconFile);
    lexicon.preloadIfNeeded();
  }

  /// Waits for the lexicon and returns true when it was loaded.
  [[nodiscard]] bool waitForLexicon() const { return lexicon.waitUntilLoaded(); }

  /// Returns the pad's services over these stores.
  [[nodiscard]] PadServices services(FontSystem& fonts, const ResourceLocator& resources) {
    return {*preferences, userDictionary, statistics, lexicon,
            fonts,        resources,      log,        settingsWindow};
  }

  std::shared_ptr<InMemoryPreferenceStore> preferences =
      std::make_shared<InMemoryPreferenceStore>();
  InputStatistics statistics{preferences};
  UserDictionary userDictionary;
  SilentLog log;
  CountingSettingsWindow settingsWindow;
  TibetanDictionary explanations;
  DictionaryStore lexicon;
};

}  // namespace yakdrom::testing
