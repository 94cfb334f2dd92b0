// The user's own settings and statistics, the same file whether the program was built with
// Qt (through QSettings) or without (read and written by the engine's INI store).
#pragma once

#include <memory>

#include "engine/store/PreferenceStore.h"

namespace yakdrom::cli {

/// Opens the user's settings file ($XDG_CONFIG_HOME/Yakdrom/Yakdrom.ini).
[[nodiscard]] std::shared_ptr<PreferenceStore> openUserPreferences();

}  // namespace yakdrom::cli
