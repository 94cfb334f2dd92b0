// The font families both font pop-ups of the settings window offer. Main thread.
#pragma once

#include <QStringList>

namespace yakdrom {

/// Returns the Tibetan families the desktop has, in order of preference, with "Yakdrom-SN"
/// always first (installed or not), then every other family the desktop has.
[[nodiscard]] QStringList availableFonts();

}  // namespace yakdrom
