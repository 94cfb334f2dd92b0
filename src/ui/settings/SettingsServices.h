// What the settings window works on: the stores every program shares, the fonts, the
// program's resources, the user's languages, the desktop's file dialogs, the update check and
// the log. Every reference must outlive the window. Main thread.
#pragma once

#include <functional>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "engine/store/PreferenceStore.h"
#include "ime/platform/FontSystem.h"
#include "ime/platform/Log.h"
#include "ime/platform/PreferredLanguages.h"
#include "ime/platform/ResourceLocator.h"
#include "ui/Uninstaller.h"
#include "ui/UpdateChecker.h"
#include "ui/settings/DesktopFiles.h"

namespace yakdrom {

struct SettingsServices {
  PreferenceStore& preferences;
  UserDictionary& userDictionary;
  InputStatistics& statistics;
  FontSystem& fonts;
  const ResourceLocator& resources;
  const PreferredLanguages& languages;
  DesktopFiles& files;
  UpdateChecker& updates;
  Log& log;
  Uninstaller& uninstaller;
  /// Ends the program once an uninstall has been reported.
  std::function<void()> endProgram;
};

}  // namespace yakdrom
