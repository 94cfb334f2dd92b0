// Everything an input controller reaches beyond its own state: the settings, the platform
// (screens, log, languages, its candidate window), the settings window and the process-wide
// stores. Front ends pass their platform's parts; tests pass their own stores. Main thread.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "ime/controller/SettingsWindowOpener.h"
#include "ime/panel/CandidatePanel.h"
#include "ime/platform/Log.h"
#include "ime/platform/PreferredLanguages.h"
#include "ime/platform/Screens.h"
#include "ime/platform/TextMeasurer.h"
#include "ime/settings/YakdromSettings.h"
#include "ime/startup/ApplicationBundle.h"
#include "ime/startup/DictionaryStore.h"

namespace yakdrom {

/// Makes the candidate window of one controller, with the platform's views.
using PanelFactory = std::function<std::unique_ptr<CandidatePanel>()>;

/// Returns a factory of candidate windows for programs without a display; `screens` and
/// `measurer` must outlive the panels.
[[nodiscard]] PanelFactory headlessPanelFactory(const Screens& screens,
                                                const TextMeasurer& measurer);

/// Every reference must outlive the controllers that use it.
struct InputControllerServices {
  const YakdromSettings& settings;
  PanelFactory makePanel;
  const Screens& screens;
  Log& log;
  const PreferredLanguages& languages;
  /// Null where there is no settings window (the command line).
  SettingsWindowOpener* settingsWindow = nullptr;
  /// The identifier of this program; a client reporting the same one is its own window.
  std::optional<std::string> ownIdentifier = std::string(kYakdromBundleIdentifier);
  DictionaryStore& dictionary = DictionaryStore::shared();
  UserDictionary& userDictionary = UserDictionary::shared();
  InputStatistics& statistics = InputStatistics::shared();
};

}  // namespace yakdrom
