// Everything an input controller reaches beyond its own state: the settings, the platform
// (screens, log, languages, the presenter of its candidates), the settings window and the
// stores. Each program passes every one of them explicitly; nothing falls back to a
// process-wide instance. Main thread.
#pragma once

#include <optional>
#include <string>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "ime/controller/SettingsWindowOpener.h"
#include "ime/panel/CandidatePresenter.h"
#include "ime/platform/Log.h"
#include "ime/platform/PreferredLanguages.h"
#include "ime/platform/Screens.h"
#include "ime/settings/YakdromSettings.h"
#include "ime/startup/ApplicationBundle.h"
#include "ime/startup/DictionaryStore.h"

namespace yakdrom {

/// Every reference must outlive the controllers that use it.
struct InputControllerServices {
  const YakdromSettings& settings;
  CandidatePresenter& presenter;
  const Screens& screens;
  Log& log;
  const PreferredLanguages& languages;
  /// Null where there is no settings window (the command line).
  SettingsWindowOpener* settingsWindow;
  /// The identifier of this program; a client reporting the same one is its own window.
  std::optional<std::string> ownIdentifier;
  DictionaryStore& dictionary;
  UserDictionary& userDictionary;
  InputStatistics& statistics;
};

/// What an input-method framework's front end shares among all its clients: everything
/// but the presenter, which each client has its own of. Every reference must outlive the
/// controllers made from it.
struct SharedInputServices {
  const YakdromSettings& settings;
  const Screens& screens;
  Log& log;
  const PreferredLanguages& languages;
  SettingsWindowOpener& settingsWindow;
  DictionaryStore& dictionary;
  UserDictionary& userDictionary;
  InputStatistics& statistics;

  /// Returns the services of one client whose candidates `presenter` shows. This program's
  /// own windows never connect to the framework, so no client is ever taken for one of them.
  [[nodiscard]] InputControllerServices forClient(CandidatePresenter& presenter) const {
    return {settings,
            presenter,
            screens,
            log,
            languages,
            &settingsWindow,
            std::string(kYakdromBundleIdentifier),
            dictionary,
            userDictionary,
            statistics};
  }
};

}  // namespace yakdrom
