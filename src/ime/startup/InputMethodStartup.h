// The start-up of every program that hosts input controllers (the input-method server, the
// typing pad, the command line): the same steps in the same order, with the platform's part
// supplied as hooks. Main thread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/learning/UserDictionary.h"
#include "ime/platform/FontSystem.h"
#include "ime/platform/Log.h"
#include "ime/settings/YakdromSettings.h"
#include "ime/startup/ApplicationBundle.h"
#include "ime/startup/DictionaryStore.h"

namespace yakdrom {

/// The name under which the input-method server offers its controllers.
inline constexpr std::string_view kConnectionName = "Yakdrom_IMK_Connection";

/// Exit status of a program whose server could not be created.
inline constexpr int kServerFailureStatus = 1;

/// What the platform does at start-up.
struct StartupHooks {
  /// Creates the input-method server under `connectionName` for the application
  /// `identifier`; returns false when it cannot.
  std::function<bool(std::string_view connectionName, const std::optional<std::string>& identifier)>
      createServer;
  /// Arranges for `action` to run on the main thread when the application is about to quit.
  std::function<void(std::function<void()> action)> onTerminate;
  /// Applies the appearance choice to the whole application.
  std::function<void(AppearancePreference appearance)> applyAppearance;
  /// Runs the event loop until the application quits and returns its exit status.
  std::function<int()> runEventLoop;
};

/// What start-up works with; every reference must outlive the event loop.
struct StartupServices {
  const ApplicationBundle& bundle;
  FontSystem& fonts;
  const YakdromSettings& settings;
  Log& log;
  DictionaryStore& dictionary;
  UserDictionary& userDictionary;
};

/// Writes what `userDictionary` has not yet written, logging a failure to `log`: the last
/// chance to save what was learnt before a program ends.
void saveLearntWords(UserDictionary& userDictionary, Log& log);

/// Registers the candidate font, starts the lexicon load, creates the server (on failure
/// logs the fatal line and returns kServerFailureStatus), arranges for the user dictionary
/// to be written out at termination, applies the appearance setting and runs the event
/// loop; returns the loop's exit status. Every hook must be set.
[[nodiscard]] int runInputMethod(const StartupHooks& hooks, const StartupServices& services);

}  // namespace yakdrom
